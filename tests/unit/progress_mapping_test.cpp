#include "browsing/progress_mapping.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillora {
namespace {

// One engine event: 'S' load started, 'E' load ended (finished or failed), 'F' a fraction.
struct Event {
    char kind;
    double fraction = 0.0;
};

std::vector<int> Feed(const std::vector<Event>& events)
{
    ProgressMapping mapping;
    std::vector<int> reported;
    for (const Event& event : events) {
        std::vector<int> values;
        switch (event.kind) {
        case 'S': values = mapping.LoadStarted(); break;
        case 'E': values = mapping.LoadEnded(); break;
        default: values = mapping.Fraction(event.fraction); break;
        }
        reported.insert(reported.end(), values.begin(), values.end());
    }
    return reported;
}

constexpr Event S{'S'};
constexpr Event E{'E'};
constexpr Event F(double fraction)
{
    return Event{'F', fraction};
}

TEST(ProgressMapping, EveryLoadEndsWithOneZero)
{
    struct Case {
        const char* name;
        std::vector<Event> events;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // the engine's order for a page: fraction first, then the load events
        {"page", {F(0.1), S, F(0.5), F(1.0), E}, {10, 50, 100, 0}},
        // a navigation cancelled before it starts: no load events at all
        {"cancelled", {F(0.1), F(1.0)}, {10, 100, 0}},
        // a failed load, then the engine's error page, which brings only a 1.0
        {"failed", {F(0.1), S, E, S, F(1.0), E}, {10, 0, 100, 0}},
        // the engine resets its estimate without finishing
        {"reset", {F(0.3), F(0.0)}, {30, 0}},
        // two pages in a row
        {"two", {F(0.1), S, F(1.0), E, F(0.1), S, F(1.0), E}, {10, 100, 0, 10, 100, 0}},
        // a load that started and ended without any fraction shows nothing
        {"silent", {S, E}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Feed(c.events), c.expected) << c.name;
    }
}

TEST(ProgressMapping, NeverZeroWhileLoadingAndNeverTheSameValueTwice)
{
    // fractions -> values (tiny fractions round up to 1, the last before 1.0 down to 99)
    EXPECT_EQ(Feed({F(0.001), F(0.004), F(0.006), F(0.994), F(0.999), F(1.0)}), (std::vector<int>{1, 99, 100, 0}));
    EXPECT_EQ(Feed({F(0.5), F(0.5), F(0.504), F(0.51)}), (std::vector<int>{50, 51}));
}

TEST(ProgressMapping, LateNotificationsAfterTheEndAreIgnored)
{
    // input -> nothing after the final 0
    EXPECT_EQ(Feed({F(0.1), F(1.0), E, F(1.0), F(0.0), E}), (std::vector<int>{10, 100, 0}));
    EXPECT_EQ(Feed({F(1.0), F(0.0), E}), (std::vector<int>{}));
    EXPECT_EQ(Feed({F(-0.5), F(2.0)}), (std::vector<int>{}));
}

TEST(ProgressMapping, LoadingStateFollowsTheEvents)
{
    ProgressMapping mapping;
    EXPECT_FALSE(mapping.Loading());
    mapping.Fraction(0.1);
    EXPECT_TRUE(mapping.Loading());
    mapping.Fraction(1.0);
    EXPECT_FALSE(mapping.Loading());
    mapping.LoadStarted();
    EXPECT_TRUE(mapping.Loading());
    mapping.LoadEnded();
    EXPECT_FALSE(mapping.Loading());
}

}  // namespace
}  // namespace quillora
