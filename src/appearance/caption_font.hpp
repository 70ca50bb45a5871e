#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

// The n-th field (counted from 1) of a text whose fields are separated by `separator`, matched
// ignoring the letter case of ASCII letters. The separators become line ends and the result is
// cut into lines like the settings list, so a CR or LF inside the text also ends a field and a
// NUL ends the text. Fewer than n fields, an n below 1 or an empty text give the empty text;
// an empty separator leaves the text whole (one field per line).
std::string FieldOfSeparatedText(int n, std::string_view separator, std::string_view text);

// The font of the gradient caption as the `caption_font` description sets it.
struct CaptionFont {
    std::string name;
    std::int32_t size = 0;    // points
    std::int32_t colour = 0;  // toolkit colour, 0x00BBGGRR or a system colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// Style words of the fourth field, found anywhere in it, in exactly this letter case.
inline constexpr std::string_view BoldWord = "Negrito";
inline constexpr std::string_view ItalicWord = "Italico";
inline constexpr std::string_view UnderlineWord = "Sublinhada";
inline constexpr std::string_view StrikeoutWord = "Atravessada";

// Applies a `caption_font` description ("name,size,colour,style") to `font`, field by field in
// this order: name, size (a number), colour (a toolkit colour), style (regular unless style
// words are present). An empty description changes nothing. A conversion failure throws the
// conversion's error and leaves the fields set before it in place: a description with only a
// name and a size fails at the empty colour field with the name and size already applied.
void ApplyCaptionFontDescription(std::string_view description, CaptionFont& font);

}  // namespace quillora
