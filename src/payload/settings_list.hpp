#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// The payload text cut into lines. Line i is setting i (0 to 102); anything after line 102 is
// the custom menu definition. Values are never trimmed.
//
// The settings are strings of their own; the menu lines, which may be millions, are kept as one
// text (each line followed by CR LF, as the menu file holds them) with the end of every line, so
// that a long menu costs little more than its characters.
class SettingsList {
public:
    SettingsList() = default;

    // Cuts already decoded (UTF-8) text into lines: CR, LF and CR LF end a line, a final line end
    // adds no empty line (CR CR LF gives an empty line between), and a NUL ends the text.
    static SettingsList FromText(std::string_view text);
    // Payload bytes: cut at the first NUL, decoded (see DecodePayloadText), cut into lines.
    // Whatever follows a NUL has no say in how the text before it is decoded.
    static SettingsList FromPayloadBytes(std::string_view bytes);

    int Count() const { return static_cast<int>(settings_.size() + menu_ends_.size()); }
    // A copy of the line. "List index out of bounds (%d)" for a negative index or one at or
    // beyond Count().
    std::string Get(int index) const;
    // The same error for the same indexes; the list never grows by Set.
    void Set(int index, std::string value);
    void Append(std::string_view line);
    std::vector<std::string> Lines() const;

    // The lines joined with CR LF after each, as the payload and the menu definition file hold them.
    std::string ToText() const;

private:
    // Cuts `text` (up to its first NUL) into lines, each converted from Windows-1252 when asked.
    static SettingsList Cut(std::string_view text, bool from_windows1252);

    // Where menu line `menu_index` starts in menu_text_.
    std::size_t MenuLineStart(std::size_t menu_index) const;

    std::vector<std::string> settings_;
    std::string menu_text_;
    std::vector<std::size_t> menu_ends_;  // where each menu line ends, before its CR LF
};

}  // namespace quillora
