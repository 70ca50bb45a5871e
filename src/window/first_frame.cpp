#include "window/first_frame.hpp"

#include <chrono>

#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

namespace {
constexpr std::chrono::milliseconds GiveUp{3000};
}

bool ShowFirstFrame(GtkWindow* window)
{
    GtkWidget* widget = GTK_WIDGET(window);
    gtk_widget_show(widget);
    GdkWindow* gdk_window = gtk_widget_get_window(widget);
    if (gdk_window == nullptr || !gtk_widget_get_mapped(widget)) {
        return gtk_widget_get_visible(widget) != FALSE;
    }
    // Closing the window meanwhile hides it, as closing it later would, and ends the wait.
    const SignalConnection close_watch =
        Connect<gboolean(GtkWidget*, GdkEvent*)>(window, "delete-event", [](GtkWidget* closed, GdkEvent*) -> gboolean {
            gtk_widget_hide(closed);
            return TRUE;
        });
    bool painted = false;
    bool gave_up = false;
    const SignalConnection after_paint = Connect<void(GdkFrameClock*)>(
        gdk_window_get_frame_clock(gdk_window), "after-paint", [&painted](GdkFrameClock*) { painted = true; });
    const MainLoopSource give_up = AddTimeout(GiveUp, [&gave_up] { gave_up = true; });
    while (!painted && !gave_up && gtk_widget_get_visible(widget)) {
        g_main_context_iteration(nullptr, TRUE);
    }
    // The frame's drawing is sent to the display before the main thread turns to other work.
    gdk_display_flush(gdk_window_get_display(gdk_window));
    return gtk_widget_get_visible(widget) != FALSE;
}

}  // namespace quillora
