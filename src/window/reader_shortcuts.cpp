#include "window/reader_shortcuts.hpp"

#include <gdk/gdkkeysyms.h>

#include "common/event_boundary.hpp"
#include "webview/web_browser.hpp"
#include "window/book_search.hpp"
#include "window/find_bar.hpp"
#include "window/form_apresentacao.hpp"
#include "window/page_zoom.hpp"
#include "window/tool_buttons.hpp"

namespace quillora {

namespace {

ShortcutKey KeyOf(guint keyval)
{
    switch (keyval) {
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left: return ShortcutKey::Left;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right: return ShortcutKey::Right;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home: return ShortcutKey::Home;
    case GDK_KEY_F3: return ShortcutKey::F3;
    case GDK_KEY_F5: return ShortcutKey::F5;
    case GDK_KEY_Escape: return ShortcutKey::Escape;
    case GDK_KEY_f:
    case GDK_KEY_F: return ShortcutKey::F;
    // '=' shares its key with '+' on most layouts, so Ctrl+= zooms in without Shift.
    case GDK_KEY_plus:
    case GDK_KEY_equal:
    case GDK_KEY_KP_Add: return ShortcutKey::Plus;
    case GDK_KEY_minus:
    case GDK_KEY_KP_Subtract: return ShortcutKey::Minus;
    case GDK_KEY_0:
    case GDK_KEY_KP_0: return ShortcutKey::Zero;
    default: return ShortcutKey::Other;
    }
}

}  // namespace

ReaderShortcuts::ReaderShortcuts(Tform_apresentacao& window, WebBrowser& web, FindBar& find, PageZoom& zoom,
                                 BookSearch& search)
    : window_(window)
    , web_(web)
    , find_(find)
    , zoom_(zoom)
    , search_(search)
    , key_press_(window.Window(), "key-press-event", &OnKeyPress, this)
{}

gboolean ReaderShortcuts::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    auto& shortcuts = *static_cast<ReaderShortcuts*>(self);
    ShortcutPress press;
    press.key = KeyOf(event->keyval);
    if (press.key == ShortcutKey::Other) return FALSE;
    press.control = (event->state & GDK_CONTROL_MASK) != 0;
    press.shift = (event->state & GDK_SHIFT_MASK) != 0;
    press.alt = (event->state & GDK_MOD1_MASK) != 0;
    ShortcutCommand command = ShortcutCommand::None;
    AtEventBoundary([&] { command = DecideShortcut(press, shortcuts.State()); });
    if (command == ShortcutCommand::None) return FALSE;  // the focused widget or the page has it
    AtEventBoundary([&] { shortcuts.Run(command); });
    return TRUE;
}

ButtonState ReaderShortcuts::Button(ToolButton which) const
{
    GtkWidget* button = window_.ButtonOf(which);
    // Hidden with the whole tool bar counts as hidden.
    return {gtk_widget_is_visible(button) != FALSE, gtk_widget_is_sensitive(button) != FALSE};
}

ShortcutState ReaderShortcuts::State() const
{
    ShortcutState state;
    for (const ToolCommand& command : ToolCommands) {
        if (ButtonState* button = ButtonOf(state, command.reader_key)) {
            *button = Button(command.button);
        }
    }
    state.loading = web_.IsLoading();
    state.find_open = find_.IsOpen();
    return state;
}

void ReaderShortcuts::Run(ShortcutCommand command)
{
    // A key of a tool-bar button runs the same member the button's click runs.
    if (const ToolCommand* button = ToolCommandOfKey(command)) {
        (window_.*ClickMemberOf(button->button))();
        return;
    }
    using Command = ShortcutCommand;
    switch (command) {
    case Command::None:
    case Command::Home:
    case Command::Back:
    case Command::Forward:
    case Command::Refresh:
    case Command::Stop: return;
    case Command::OpenFind: return find_.Open();
    case Command::CloseFind: return find_.Close();
    case Command::FindNext: return find_.Next();
    case Command::FindPrevious: return find_.Previous();
    case Command::SearchBook: return search_.Open();
    case Command::ZoomIn: return zoom_.ZoomIn();
    case Command::ZoomOut: return zoom_.ZoomOut();
    case Command::ZoomReset: return zoom_.Reset();
    }
}

}  // namespace quillora
