#pragma once

#include <gtk/gtk.h>

#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "webview/web_browser.hpp"

namespace quillora {

// A bar above the page that says so when the engine's process showing the page has ended
// (crashed, killed, or stopped for using too much memory), instead of leaving a blank or frozen
// view. Its Reload button brings the page back and hides the bar. The keyboard focus moves to
// the button when the bar shows, and the bar is announced as an alert.
class WebProcessCrashBar {
public:
    // Places the (hidden) bar just above the browser's view in the box that holds the view, and
    // listens to the browser. A view that lies in no box gets no bar.
    explicit WebProcessCrashBar(WebBrowser& browser);
    WebProcessCrashBar(const WebProcessCrashBar&) = delete;
    WebProcessCrashBar& operator=(const WebProcessCrashBar&) = delete;

    [[nodiscard]] GtkInfoBar* Bar() const { return GTK_INFO_BAR(bar_.get()); }

private:
    void Show(bool over_memory_limit);
    void Reload();

    WebBrowser& browser_;
    GObjectPtr<GtkWidget> bar_;
    GtkLabel* text_;
    SignalConnection response_;
    EventConnection terminated_;
};

}  // namespace quillora
