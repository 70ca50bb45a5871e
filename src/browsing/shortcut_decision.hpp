#pragma once

namespace quillora {

// The reader's keys, as the window's shortcuts know them; the display code maps the toolkit's
// key values onto these (the keypad's plus, minus and 0 included, '=' as the unshifted plus).
enum class ShortcutKey { Other, Left, Right, Home, F3, F5, Escape, F, Plus, Minus, Zero };

struct ShortcutPress {
    ShortcutKey key = ShortcutKey::Other;
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// A tool-bar button as the reader sees it: a shortcut works only while its button could be clicked.
struct ButtonState {
    bool shown = false;
    bool enabled = false;
    [[nodiscard]] bool Clickable() const { return shown && enabled; }
};

// What the shortcuts look at besides the key.
struct ShortcutState {
    ButtonState home, back, forward, refresh, stop;
    bool loading = false;    // a page is being loaded (Escape stops it)
    bool find_open = false;  // the find bar is open (Escape closes it first)
};

enum class ShortcutCommand {
    None,
    Home,
    Back,
    Forward,
    Refresh,
    Stop,
    OpenFind,
    CloseFind,
    FindNext,
    FindPrevious,
    SearchBook,
    ZoomIn,
    ZoomOut,
    ZoomReset,
};

// The state of the tool-bar button whose click `command` runs; null for a command of no button.
ButtonState* ButtonOf(ShortcutState& state, ShortcutCommand command);

// The command a key press gives, or None when the press is left to the page. A navigation key
// whose button is hidden or disabled gives None: an author who takes a button away takes its
// shortcut too. Escape stops only a page that is loading, so that a page still gets its own Escape.
ShortcutCommand DecideShortcut(const ShortcutPress& press, const ShortcutState& state);

}  // namespace quillora
