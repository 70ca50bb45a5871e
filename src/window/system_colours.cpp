#include "window/system_colours.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillora {

namespace {

struct ThemeColour {
    const char* name;  // a colour the GTK theme defines with @define-color
    Rgb fallback;
};

// Indexed by system colour index (0..30); index 25 is unused by the toolkit.
constexpr std::array<ThemeColour, 31> SystemColourTable{{
    {"theme_bg_color", {200, 200, 200}},                     // 0 scroll bar
    {"theme_base_color", {58, 110, 165}},                    // 1 desktop background
    {"theme_selected_bg_color", {0, 84, 227}},               // 2 active caption
    {"theme_unfocused_bg_color", {122, 150, 223}},           // 3 inactive caption
    {"theme_bg_color", {255, 255, 255}},                     // 4 menu
    {"theme_base_color", {255, 255, 255}},                   // 5 window
    {"borders", {0, 0, 0}},                                  // 6 window frame
    {"theme_fg_color", {0, 0, 0}},                           // 7 menu text
    {"theme_text_color", {0, 0, 0}},                         // 8 window text
    {"theme_selected_fg_color", {255, 255, 255}},            // 9 caption text
    {"borders", {212, 208, 200}},                            // 10 active border
    {"unfocused_borders", {212, 208, 200}},                  // 11 inactive border
    {"theme_bg_color", {128, 128, 128}},                     // 12 application work space
    {"theme_selected_bg_color", {49, 106, 197}},             // 13 highlight
    {"theme_selected_fg_color", {255, 255, 255}},            // 14 highlight text
    {"theme_bg_color", {236, 233, 216}},                     // 15 button face
    {"borders", {172, 168, 153}},                            // 16 button shadow
    {"insensitive_fg_color", {172, 168, 153}},               // 17 grey text
    {"theme_fg_color", {0, 0, 0}},                           // 18 button text
    {"theme_unfocused_fg_color", {216, 228, 248}},           // 19 inactive caption text
    {"theme_base_color", {255, 255, 255}},                   // 20 button highlight
    {"borders", {113, 111, 100}},                            // 21 3-D dark shadow
    {"theme_bg_color", {241, 239, 226}},                     // 22 3-D light
    {"theme_tooltip_fg_color", {0, 0, 0}},                   // 23 tool-tip text
    {"theme_tooltip_bg_color", {255, 255, 225}},             // 24 tool-tip background
    {"theme_bg_color", {192, 192, 192}},                     // 25 (unused)
    {"link_color", {0, 0, 128}},                             // 26 hot-tracked item
    {"theme_selected_bg_color", {61, 149, 255}},             // 27 gradient of the active caption
    {"theme_unfocused_selected_bg_color", {157, 185, 235}},  // 28 gradient of the inactive caption
    {"theme_selected_bg_color", {49, 106, 197}},             // 29 menu highlight
    {"theme_bg_color", {236, 233, 216}},                     // 30 menu bar
}};

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

Rgb ThemeSystemColour(GtkStyleContext* context, int index)
{
    if (index < 0 || index >= static_cast<int>(SystemColourTable.size())) {
        return {0, 0, 0};
    }
    const ThemeColour& entry = SystemColourTable[static_cast<std::size_t>(index)];
    GdkRGBA colour;
    if (context != nullptr && gtk_style_context_lookup_color(context, entry.name, &colour)) {
        return {Channel(colour.red), Channel(colour.green), Channel(colour.blue)};
    }
    return entry.fallback;
}

}  // namespace quillora
