#include "appearance/caption_font.hpp"

#include "common/ascii_case.hpp"
#include "payload/conversions.hpp"
#include "payload/settings_list.hpp"

namespace quillora {

namespace {

bool MatchesIgnoringCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(text[at + i]) != AsciiLower(word[i])) return false;
    return true;
}

std::string ReplaceSeparatorsWithLineEnds(std::string_view separator, std::string_view text)
{
    if (separator.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size() + 8);
    std::size_t at = 0;
    while (at < text.size()) {
        if (MatchesIgnoringCase(text, at, separator)) {
            result += "\r\n";
            at += separator.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

bool Contains(std::string_view text, std::string_view word)
{
    return text.find(word) != std::string_view::npos;
}

}  // namespace

std::string FieldOfSeparatedText(int n, std::string_view separator, std::string_view text)
{
    if (n < 1) return {};
    const auto lines = SettingsList::FromText(ReplaceSeparatorsWithLineEnds(separator, text));
    return n <= lines.Count() ? lines.Get(n - 1) : std::string();
}

void ApplyCaptionFontDescription(std::string_view description, CaptionFont& font)
{
    if (description.empty()) return;
    // Each field is applied before the next is converted, so a failure keeps what came before.
    font.name = FieldOfSeparatedText(1, ",", description);
    font.size = ToNumber(FieldOfSeparatedText(2, ",", description));
    font.colour = ToToolkitColour(FieldOfSeparatedText(3, ",", description));
    const std::string style = FieldOfSeparatedText(4, ",", description);
    font.bold = Contains(style, BoldWord);
    font.italic = Contains(style, ItalicWord);
    font.underline = Contains(style, UnderlineWord);
    font.strikeout = Contains(style, StrikeoutWord);
}

}  // namespace quillora
