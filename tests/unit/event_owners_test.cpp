#include <gtest/gtest.h>

#include <glib-object.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/event_boundary.hpp"
#include "common/event_signal.hpp"
#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"

namespace quillora {
namespace {

using namespace std::chrono_literals;

TEST(EventSignal, HandlersRunInOrderUntilTheirConnectionGoes)
{
    EventSignal<int> signal;
    std::vector<std::string> calls;
    EventConnection first = signal.Connect([&](int n) { calls.push_back("first " + std::to_string(n)); });
    std::optional<EventConnection> second;
    // A handler that disconnects another one, and itself, while the signal runs.
    EventConnection third;
    third = signal.Connect([&](int n) {
        calls.push_back("third " + std::to_string(n));
        second.reset();
        third.Disconnect();
    });
    second = signal.Connect([&](int n) { calls.push_back("second " + std::to_string(n)); });

    signal.Emit(1);
    signal.Emit(2);
    first = EventConnection();
    signal.Emit(3);

    // "second" was connected after "third", which dropped it before its turn.
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1", "third 1", "first 2"}));
    EXPECT_TRUE(signal.Empty());

    // A connection that outlives its signal disconnects nothing and does not crash.
    EventConnection late;
    {
        EventSignal<> gone;
        late = gone.Connect([] {});
    }
    late.Disconnect();
}

// A GObject type with one signal, "poked", whose handlers get a number and return a number.
struct Poker {
    GObject parent;
};
struct PokerClass {
    GObjectClass parent;
};
G_DEFINE_TYPE(Poker, poker, G_TYPE_OBJECT)
guint poked_signal = 0;
void poker_class_init(PokerClass* cls)
{
    poked_signal = g_signal_new("poked", G_TYPE_FROM_CLASS(cls), G_SIGNAL_RUN_LAST, 0, nullptr, nullptr, nullptr,
                                G_TYPE_INT, 1, G_TYPE_INT);
}
void poker_init(Poker*) {}

int Poke(gpointer poker, int value)
{
    int result = 0;
    g_signal_emit(poker, poked_signal, 0, value, &result);
    return result;
}

TEST(SignalConnect, CallsTheCallableAtTheEventBoundaryAndDropsItWithTheConnection)
{
    auto poker = GObjectPtr<GObject>::Adopt(G_OBJECT(g_object_new(poker_get_type(), nullptr)));
    std::vector<std::string> reports;
    SetErrorReporter([&](const std::string& text) { reports.push_back(text); });

    auto calls = std::make_shared<int>(0);
    {
        SignalConnection doubled = Connect<int(Poker*, int)>(poker.get(), "poked", [calls](Poker*, int value) {
            ++*calls;
            if (value < 0) throw std::runtime_error("no negative pokes");
            return 2 * value;
        });
        EXPECT_EQ(calls.use_count(), 2);  // the handler keeps its own copy
        EXPECT_EQ(Poke(poker.get(), 21), 42);
        // An exception stops at the boundary: reported, and the handler's zero value returned.
        EXPECT_EQ(Poke(poker.get(), -1), 0);
    }
    EXPECT_EQ(calls.use_count(), 1);  // disconnected, and the callable deleted
    Poke(poker.get(), 21);
    EXPECT_EQ(*calls, 2);
    EXPECT_EQ(reports, std::vector<std::string>{"no negative pokes."});
    SetErrorReporter(nullptr);
}

TEST(MainLoopSource, RunsWhileAskedAndNeverAfterItGoes)
{
    int ticks = 0;
    bool idle_ran = false;
    bool removed_ran = false;
    MainLoopSource timer = AddTimeout(1ms, [&] { return ++ticks < 3; });
    MainLoopSource idle = AddIdle([&] { idle_ran = true; });  // a void callable runs once
    {
        MainLoopSource removed = AddIdle([&] { removed_ran = true; });
    }
    const gint64 limit = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
    while ((timer.Pending() || idle.Pending()) && g_get_monotonic_time() < limit) {
        g_main_context_iteration(nullptr, TRUE);
    }
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(idle_ran);
    EXPECT_FALSE(removed_ran);
    EXPECT_FALSE(timer.Pending());
    timer.Remove();  // removing an ended source is harmless
}

}  // namespace
}  // namespace quillora
