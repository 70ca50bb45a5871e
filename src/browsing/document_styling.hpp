#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillora {

// The border and scroll-bar colours that an e-book gives every page it shows, from outside the
// page's own HTML. Values are passed to the page as written; none is checked or defaulted here.
struct PageStyling {
    bool border_on = false;
    std::string border_style;
    std::string border_color;
    bool scrollbar_colors_on = false;
    // face, highlight, 3-D light, dark shadow, shadow, arrow, track
    std::array<std::string, 7> scrollbar_colors;
};

enum ScrollbarColour { Face, Highlight, Light3D, DarkShadow, Shadow, Arrow, Track };

// The script that styles the top document: the border puts (borderStyle emptied, then set, then
// borderColor), then the seven scroll-bar colour properties, each put reaching the body afresh.
// A missing document or body makes a border put do nothing; for the scroll-bar puts it is a
// failure. The script evaluates to the empty text when every put was made, else to the text of
// the first failure (a value the engine refused, a body that cannot be reached); the puts after
// a failure are not made. The engine has no scroll-bar colour properties, so the colours are also
// written as scroll-bar rules of the page's own style sheet (see ScrollbarRules).
std::string StylingScript(const PageStyling& styling);

// The seven old scroll-bar colours as scroll-bar rules the engine draws: face = thumb and buttons,
// track = track and corner, arrow = the buttons' arrows, the 3-D colours = the raised edges of
// thumb and buttons (highlight and 3-D light on the upper and left sides, shadow and dark shadow
// on the lower and right ones). An empty colour, or one with characters that no colour has,
// leaves its part as the engine draws it. Empty when no colour is usable.
std::string ScrollbarRules(const std::array<std::string, 7>& colours);

// A text as a JavaScript string literal, safe anywhere in a script (quotes, backslashes, line
// ends, "</script>" and the two line separators JavaScript does not allow in literals escaped).
std::string JavaScriptString(std::string_view text);

}  // namespace quillora
