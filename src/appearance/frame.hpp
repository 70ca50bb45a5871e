#pragma once

namespace quillora {

// The kinds of window frame the window can have: the settings choose among None, Single and
// Sizeable; the others exist because the caption geometry treats them differently.
enum class FrameStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeableToolWindow };

// The buttons of the window frame. `window_menu` is the window menu together with its close box.
struct FrameButtons {
    bool window_menu = false;
    bool minimize = false;
    bool maximize = false;
    bool help = false;

    friend bool operator==(const FrameButtons&, const FrameButtons&) = default;
};

}  // namespace quillora
