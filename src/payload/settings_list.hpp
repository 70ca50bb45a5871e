#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// The payload text cut into lines. Line i is setting i (0 to 102); anything after line 102 is
// the custom menu definition. Values are never trimmed.
class SettingsList {
public:
    SettingsList() = default;

    // Cuts already decoded (UTF-8) text into lines: CR, LF and CR LF end a line, a final line end
    // adds no empty line, and a NUL ends the text.
    static SettingsList FromText(std::string_view text);
    // Decodes payload bytes (see DecodePayloadText) and cuts them into lines.
    static SettingsList FromPayloadBytes(std::string_view bytes);

    int Count() const { return static_cast<int>(lines_.size()); }
    // "List index out of bounds (%d)" for an index outside the list.
    const std::string& Get(int index) const;
    void Set(int index, std::string value);
    void Append(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The lines joined with CR LF after each, as the payload and the menu definition file hold them.
    std::string ToText() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace quillora
