#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "appearance/frame.hpp"
#include "appearance/pixel_rect.hpp"

namespace quillora {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// True when the window of the given size texts covers the screen: width >= screen width and
// height >= screen height. The height text is converted only when the width passes, so a
// malformed height goes unnoticed under a narrow width; a malformed width throws.
bool FillsScreen(std::string_view width_text, std::string_view height_text, ScreenSize screen);

struct WindowOrigin {
    int left = 0;
    int top = 0;

    friend bool operator==(const WindowOrigin&, const WindowOrigin&) = default;
};

// The origin that centres a window in an area: (area - window) / 2 on each axis, truncated
// toward zero (a window 131 pixels wider than the area gets -65). The area's own origin is not
// added. Computed in 64 bits, so no pair of 32-bit sizes overflows.
WindowOrigin CenteredOrigin(ScreenSize area, int window_width, int window_height);

// The part of the screen that windows may cover (without panels and docks), in screen
// coordinates.
using WorkArea = PixelRect;
// A window's place and size on the screen.
using WindowBox = PixelRect;

// Where a window of the requested size goes. Each side is at least 1 pixel and never more than
// the work area's: a window larger than any screen only costs memory (the page is rendered at
// full size) and cannot be seen. A window that fits is centred on the screen; on an axis where
// the request did not fit, the window starts at the work area's edge, so it lies wholly inside.
WindowBox FittedWindowBox(ScreenSize screen, WorkArea work_area, std::int32_t width, std::int32_t height);

enum class WindowState { Normal, Maximized };

// `start_maximized`: exactly "0" is a normal window; anything else ("00", "0 ", "") maximized.
WindowState StartWindowState(std::string_view start_maximized);

// `border_style`: "0" a fixed single frame, "1" no frame, "2" a sizeable frame; any other text
// keeps the frame the window already has (nullopt).
std::optional<FrameStyle> FrameStyleFor(std::string_view border_style);

// A sizeable window ("2" exactly) gets its state only after the skin is on; every other window
// gets it before its frame style.
bool StateFollowsSkin(std::string_view border_style);

// The frame buttons from the three flags: the window menu with its close box, minimise,
// maximise; never help.
FrameButtons FrameButtonsFrom(bool system_menu, bool minimize_button, bool maximize_button);

}  // namespace quillora
