#pragma once

// Waiting in tests that run a GLib main loop: the GUI tests and the unit tests of code that
// talks to the desktop over D-Bus.

#include <glib.h>

#include <chrono>
#include <functional>

namespace quillora::test {

using namespace std::chrono_literals;

// Runs the main loop until `done` holds; false when `timeout` passes first. The one way a GUI
// test waits: for what it checks, with a limit generous enough for a loaded machine and the
// sanitizers, never for a fixed time. ASSERT_TRUE(RunUntil([&] { return loaded; }));
// A check that something does NOT happen waits for an event that would come after it, or
// else for the fault itself: EXPECT_FALSE(RunUntil([&] { return closed; }, 1s)).
inline bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s)
{
    bool timed_out = false;
    const guint timer = g_timeout_add(
        static_cast<guint>(timeout.count()),
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timed_out);
    // Some conditions change without any event of this loop (a file another process writes, a
    // port that starts to listen): a beat looks at them again.
    const guint beat = g_timeout_add(
        20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    while (!done() && !timed_out) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_source_remove(beat);
    if (!timed_out) {
        g_source_remove(timer);
    }
    return done();
}

}  // namespace quillora::test
