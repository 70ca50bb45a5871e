#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillora {

// The payload text cut into lines. Line i is setting i (0 to 102); anything after line 102 is
// the custom menu definition. Values are never trimmed.
class SettingsList {
public:
    SettingsList() = default;

    // Cuts already decoded (UTF-8) text into lines: CR, LF and CR LF end a line, a final line end
    // adds no empty line (CR CR LF gives an empty line between), and a NUL ends the text.
    static SettingsList FromText(std::string_view text);
    // Payload bytes: cut at the first NUL, decoded (see DecodePayloadText), cut into lines.
    // Whatever follows a NUL has no say in how the text before it is decoded.
    static SettingsList FromPayloadBytes(std::string_view bytes);

    int Count() const { return static_cast<int>(lines_.size()); }
    // "List index out of bounds (%d)" for a negative index or one at or beyond Count().
    const std::string& Get(int index) const;
    // The same error for the same indexes; the list never grows by Set.
    void Set(int index, std::string value);
    void Append(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The lines joined with CR LF after each, as the payload and the menu definition file hold them.
    std::string ToText() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace quillora
