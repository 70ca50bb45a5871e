#include "browsing/document_styling.hpp"

#include <algorithm>
#include <cstdio>

#include "common/ascii_case.hpp"

namespace quillora {

namespace {

// The style properties of the body that the scroll-bar colours are written to, in the order they
// are put, with the colour each takes. Row 5's name is written as pages of the time spelled it.
struct ScrollbarProperty {
    const char* name;
    ScrollbarColour colour;
};
constexpr ScrollbarProperty ScrollbarProperties[] = {
    {"scrollbarArrowColor", Arrow}, {"scrollbar3DLIGHTCOLOR", Light3D},     {"scrollbarDarkShadowColor", DarkShadow},
    {"scrollbarFaceColor", Face},   {"scrollbarHighlightColor", Highlight}, {"scrollbarShadowColor", Shadow},
    {"scrollbarTrackColor", Track},
};

// Colour values are written into a style sheet and into an image address: only the characters
// that colour names, #hex and the colour functions are made of may pass, so that no value can
// close a rule or an address and add one of its own.
bool IsUsableColour(const std::string& colour)
{
    if (colour.empty()) {
        return false;
    }
    return std::ranges::all_of(colour, [](char c) {
        return IsAsciiAlnum(c) || std::string_view("#(),.% -+/").find(c) != std::string_view::npos;
    });
}

// The colour as it may stand inside a data: address.
std::string PercentEncoded(const std::string& colour)
{
    std::string encoded;
    for (const char c : colour) {
        if (IsAsciiAlnum(c) || c == '.' || c == '-') {
            encoded += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
            encoded += escape;
        }
    }
    return encoded;
}

// One arrow in the colour, pointing the way the button scrolls.
std::string ArrowRule(const std::string& selector, const char* path, const std::string& colour)
{
    return "::-webkit-scrollbar-button:" + selector +
           "{background-image:url(\"data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' "
           "width='16' height='16'%3E%3Cpath d='" +
           path + "' fill='" + PercentEncoded(colour) +
           "'/%3E%3C/svg%3E\");background-repeat:no-repeat;background-position:center}";
}

}  // namespace

std::string ScrollbarRules(const std::array<std::string, 7>& colours)
{
    const auto usable = [&colours](ScrollbarColour which) {
        return IsUsableColour(colours[static_cast<std::size_t>(which)]);
    };
    const auto colour = [&colours](ScrollbarColour which) { return colours[static_cast<std::size_t>(which)]; };

    std::string parts;
    if (usable(Track)) {
        parts += "::-webkit-scrollbar-track,::-webkit-scrollbar-corner{background-color:" + colour(Track) + "}";
    }
    std::string raised;  // thumb and buttons: face and 3-D edges
    if (usable(Face)) {
        raised += "background-color:" + colour(Face) + ";";
    }
    if (usable(Highlight) || usable(Shadow)) {
        raised += "border-style:solid;border-width:1px;";
        if (usable(Highlight)) {
            raised += "border-top-color:" + colour(Highlight) + ";border-left-color:" + colour(Highlight) + ";";
        }
        if (usable(Shadow)) {
            raised += "border-bottom-color:" + colour(Shadow) + ";border-right-color:" + colour(Shadow) + ";";
        }
    }
    std::string shadows;
    if (usable(Light3D)) {
        shadows += "inset 1px 1px " + colour(Light3D);
    }
    if (usable(DarkShadow)) {
        shadows += (shadows.empty() ? "" : ",") + std::string("inset -1px -1px ") + colour(DarkShadow);
    }
    if (!shadows.empty()) {
        raised += "box-shadow:" + shadows + ";";
    }
    if (!raised.empty()) {
        raised.pop_back();
        parts += "::-webkit-scrollbar-thumb,::-webkit-scrollbar-button{" + raised + "}";
    }
    if (usable(Arrow)) {
        parts += ArrowRule("vertical:decrement", "M4 10h8L8 5z", colour(Arrow));
        parts += ArrowRule("vertical:increment", "M4 6h8l-4 5z", colour(Arrow));
        parts += ArrowRule("horizontal:decrement", "M10 4v8L5 8z", colour(Arrow));
        parts += ArrowRule("horizontal:increment", "M6 4v8l5-4z", colour(Arrow));
    }
    if (parts.empty()) {
        return {};
    }
    // Any rule for the scroll bar makes the engine draw all of it from these rules; the buttons
    // only show with a size of their own.
    std::string rules = "::-webkit-scrollbar{width:16px;height:16px}" + parts;
    if (!raised.empty() || usable(Arrow)) {
        rules += "::-webkit-scrollbar-button:single-button{display:block;width:16px;height:16px}";
    }
    return rules;
}

std::string StylingScript(const PageStyling& styling)
{
    // put(name, value, lenient): a lenient put does nothing without a document or body.
    std::string script = "(() => {\n"
                         "const put = (name, value, lenient) => {\n"
                         "  const body = window.document ? window.document.body : null;\n"
                         "  if (!body) { if (lenient) return; throw 'The page has no body to give ' + name; }\n"
                         "  body.style[name] = value;\n"
                         "  if (value !== '' && body.style[name] === '')\n"
                         "    throw 'The page does not accept \"' + value + '\" as ' + name;\n"
                         "};\n"
                         "try {\n";
    if (styling.border_on) {
        script += "put('borderStyle', " + JavaScriptString("") + ", true);\n";
        script += "put('borderStyle', " + JavaScriptString(styling.border_style) + ", true);\n";
        script += "put('borderColor', " + JavaScriptString(styling.border_color) + ", true);\n";
    }
    if (styling.scrollbar_colors_on) {
        for (const auto& property : ScrollbarProperties) {
            script += "put('" + std::string(property.name) + "', " +
                      JavaScriptString(styling.scrollbar_colors[static_cast<std::size_t>(property.colour)]) +
                      ", false);\n";
        }
        script += "let sheet = document.getElementById('quillora-scrollbar-colours');\n"
                  "if (!sheet) {\n"
                  "  sheet = document.createElement('style');\n"
                  "  sheet.id = 'quillora-scrollbar-colours';\n"
                  "  (document.head || document.documentElement).appendChild(sheet);\n"
                  "}\n"
                  "sheet.textContent = " +
                  JavaScriptString(ScrollbarRules(styling.scrollbar_colors)) +
                  ";\n"
                  // The engine makes the page's scroll bars once; they follow new rules only when made
                  // again, which taking them away for one layout does.
                  "const root = document.documentElement;\n"
                  "const overflow = root.style.overflow;\n"
                  "root.style.overflow = 'hidden';\n"
                  "void root.offsetHeight;\n"
                  "root.style.overflow = overflow;\n";
    }
    script += "} catch (failure) { return String(failure); }\n"
              "return '';\n"
              "})()";
    return script;
}

std::string JavaScriptString(std::string_view text)
{
    std::string literal = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+2028 and U+2029 end a line inside a literal for older engines.
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            literal += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else if (c < 0x20 || c == '"' || c == '\\' || c == '\'' || c == '<' || c == '>' || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            literal += escape;
        } else {
            literal += static_cast<char>(c);
        }
    }
    return literal + "\"";
}

}  // namespace quillora
