#pragma once

#include <gtk/gtk.h>

#include "actions/action_host.hpp"
#include "browsing/shortcut_decision.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

class BookSearch;
class FindBar;
class PageZoom;
class Tform_apresentacao;
class WebBrowser;

// The reader's keys on the main window: back, forward, home, refresh and stop as their tool-bar
// buttons (while a button is shown and enabled), find in page, and zoom. They see a key press
// after the input filter and before the focused widget, so a blocked shortcut stays blocked and
// the keys work wherever the focus is in the window.
class ReaderShortcuts {
public:
    // The window for its tool-bar buttons and their clicks; the rest for the keys of their own.
    ReaderShortcuts(Tform_apresentacao& window, WebBrowser& web, FindBar& find, PageZoom& zoom, BookSearch& search);
    ReaderShortcuts(const ReaderShortcuts&) = delete;
    ReaderShortcuts& operator=(const ReaderShortcuts&) = delete;

private:
    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer self);
    [[nodiscard]] ShortcutState State() const;
    [[nodiscard]] ButtonState Button(ToolButton which) const;
    void Run(ShortcutCommand command);

    Tform_apresentacao& window_;
    WebBrowser& web_;
    FindBar& find_;
    PageZoom& zoom_;
    BookSearch& search_;
    SignalConnection key_press_;
};

}  // namespace quillora
