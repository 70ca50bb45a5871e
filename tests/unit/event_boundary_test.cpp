#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "common/event_boundary.hpp"

namespace quillora {
namespace {

TEST(ReportFullStop, AddedOnlyAfterCharactersThatSortAfterTheFullStop)
{
    struct Case {
        const char* text;
        const char* shown;
    };
    // text -> as the report shows it
    const Case cases[] = {
        {"File not found", "File not found."},
        {"I/O error 5", "I/O error 5."},                                   // digits sort after '.'
        {"List index out of bounds (3)", "List index out of bounds (3)"},  // ')' sorts before
        {"Done.", "Done."},
        {"Really?", "Really?."},  // '?' sorts after '.'
        {"Stop!", "Stop!"},
        {"a/", "a/."},  // '/' sorts right after '.'
        {"a-", "a-"},
        {"Não", "Não."},  // non-ASCII letters too
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithReportFullStop(c.text), c.shown) << c.text;
    }
}

class EventBoundaryTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
    }
    void TearDown() override { SetErrorReporter(nullptr); }

    std::vector<std::string> reports;
};

TEST_F(EventBoundaryTest, ReportsErrorsOnceAndSwallowsSilentAborts)
{
    EXPECT_TRUE(AtEventBoundary([] {}));
    EXPECT_FALSE(AtEventBoundary([] { throw Error("'yes' is not a valid boolean value"); }));
    EXPECT_FALSE(AtEventBoundary([] { throw SilentAbort(); }));
    EXPECT_FALSE(AtEventBoundary([] { throw std::runtime_error("out of range"); }));
    EXPECT_FALSE(AtEventBoundary([] { throw 42; }));
    EXPECT_EQ(reports,
              (std::vector<std::string>{"'yes' is not a valid boolean value.", "out of range.", "Unknown error."}));
}

TEST_F(EventBoundaryTest, AFailingReporterDoesNotEscape)
{
    SetErrorReporter([](const std::string&) { throw std::runtime_error("dialog failed"); });
    EXPECT_FALSE(AtEventBoundary([] { throw Error("x"); }));
}

}  // namespace
}  // namespace quillora
