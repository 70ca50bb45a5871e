#include "window/first_frame.hpp"

#include <gdkmm/display.h>

#include "webview/signal_connection.hpp"

namespace quillora {

namespace {
constexpr unsigned GiveUpMs = 3000;
}

bool ShowFirstFrame(Gtk::Window& window)
{
    window.show();
    const auto gdk_window = window.get_window();
    if (!gdk_window || !window.get_mapped()) {
        return window.get_visible();
    }
    // Closing the window meanwhile hides it, as closing it later would, and ends the wait.
    struct CloseWatch {
        sigc::connection connection;
        ~CloseWatch() { connection.disconnect(); }
    } const close_watch{window.signal_delete_event().connect([&window](GdkEventAny*) {
        window.hide();
        return true;
    })};
    bool painted = false;
    bool gave_up = false;
    GdkFrameClock* clock = gdk_window_get_frame_clock(gdk_window->gobj());
    const SignalConnection after_paint(
        clock, "after-paint",
        +[](GdkFrameClock*, gpointer done) { *static_cast<bool*>(done) = true; }, &painted);
    const guint give_up = g_timeout_add(GiveUpMs, [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
    }, &gave_up);
    while (!painted && !gave_up && window.get_visible()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (!gave_up) {
        g_source_remove(give_up);
    }
    // The frame's drawing is sent to the display before the main thread turns to other work.
    gdk_window->get_display()->flush();
    return window.get_visible();
}

}  // namespace quillora
