#include "appearance/window_placement.hpp"

#include <algorithm>
#include <cstdint>

#include "payload/conversions.hpp"

namespace quillora {

bool FillsScreen(std::string_view width_text, std::string_view height_text, ScreenSize screen)
{
    return ToNumber(width_text) >= screen.width && ToNumber(height_text) >= screen.height;
}

WindowOrigin CenteredOrigin(ScreenSize area, int window_width, int window_height)
{
    // C++ division truncates toward zero, which is the rule wanted here.
    const auto centre = [](int area_side, int window_side) {
        return static_cast<int>((static_cast<std::int64_t>(area_side) - window_side) / 2);
    };
    return {centre(area.width, window_width), centre(area.height, window_height)};
}

WindowBox FittedWindowBox(ScreenSize screen, WorkArea work_area, std::int32_t width, std::int32_t height)
{
    const int fitted_width = std::clamp(width, 1, std::max(work_area.width, 1));
    const int fitted_height = std::clamp(height, 1, std::max(work_area.height, 1));
    const WindowOrigin centred = CenteredOrigin(screen, fitted_width, fitted_height);
    return {width > fitted_width ? work_area.x : centred.left, height > fitted_height ? work_area.y : centred.top,
            fitted_width, fitted_height};
}

WindowState StartWindowState(std::string_view start_maximized)
{
    return start_maximized == "0" ? WindowState::Normal : WindowState::Maximized;
}

std::optional<FrameStyle> FrameStyleFor(std::string_view border_style)
{
    if (border_style == "0") return FrameStyle::Single;
    if (border_style == "1") return FrameStyle::None;
    if (border_style == "2") return FrameStyle::Sizeable;
    return std::nullopt;
}

bool StateFollowsSkin(std::string_view border_style)
{
    return border_style == "2";
}

FrameButtons FrameButtonsFrom(bool system_menu, bool minimize_button, bool maximize_button)
{
    return FrameButtons{system_menu, minimize_button, maximize_button, false};
}

}  // namespace quillora
