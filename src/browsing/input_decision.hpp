#pragma once

namespace quillora {

// Which input the e-book stops before it reaches the window or the page. All false: nothing is
// filtered. A shortcut is never blocked while its tool-bar button is shown (the settings decide
// that when they are applied).
struct InputBlocking {
    bool block_right_click = false;
    bool block_ctrl_p = false;
    bool block_ctrl_c = false;
    bool block_ctrl_a = false;
};

// An event as the filter sees it, before any widget does.
struct InputEvent {
    enum class Kind { Other, Press, MultiPress, Release, KeyDown, KeyUp };
    Kind kind = Kind::Other;
    unsigned button = 0;       // mouse button; 3 is the right one
    bool control = false;      // Ctrl was down as of this event
    unsigned key_upper = 0;    // the key's character in upper case ('P', 'C', 'A', ...), else 0
    bool inside_page = false;  // aimed at the browser's page
};

// True when the event is swallowed: right-button presses and double-clicks on the page by the
// right-click flag (releases pass), and key presses of Ctrl+P, Ctrl+C and Ctrl+A by their flags
// wherever the focus is (Shift and Alt not looked at; each auto-repeat is a press of its own).
bool SwallowInput(const InputEvent& event, const InputBlocking& blocking);

}  // namespace quillora
