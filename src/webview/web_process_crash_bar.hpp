#pragma once

#include <gtkmm/infobar.h>
#include <gtkmm/label.h>

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
    ~WebProcessCrashBar();
    WebProcessCrashBar(const WebProcessCrashBar&) = delete;
    WebProcessCrashBar& operator=(const WebProcessCrashBar&) = delete;

    [[nodiscard]] Gtk::InfoBar& Bar() { return bar_; }

private:
    void Show(bool over_memory_limit);
    void Reload();

    WebBrowser& browser_;
    Gtk::InfoBar bar_;
    Gtk::Label text_;
    EventConnection terminated_;
};

}  // namespace quillora
