#include "payload/settings_list.hpp"

#include "common/error.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// Calls on_line(line) for every line of `text`, the terminators left out: CR, LF and CR LF end
// a line; a terminator at the very end starts no further line.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine on_line)
{
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        on_line(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n') {
            ++i;
        }
        start = i;
    }
    if (start < text.size()) {
        on_line(text.substr(start));
    }
}

// Every line of `text`, each made by decode(line). The lines are counted first, so that the list
// is allocated once; a large text never has a second, whole-text copy besides its lines.
template <typename Decode>
std::vector<std::string> SplitLines(std::string_view text, Decode decode)
{
    std::size_t count = 0;
    ForEachLine(text, [&count](std::string_view) { ++count; });
    std::vector<std::string> lines;
    lines.reserve(count);
    ForEachLine(text, [&](std::string_view line) { lines.push_back(decode(line)); });
    return lines;
}

}  // namespace

SettingsList SettingsList::FromText(std::string_view text)
{
    SettingsList list;
    list.lines_ = SplitLines(UpToNul(text), [](std::string_view line) { return std::string(line); });
    return list;
}

SettingsList SettingsList::FromPayloadBytes(std::string_view bytes)
{
    bytes = UpToNul(bytes);
    if (IsValidUtf8(bytes)) {
        return FromText(bytes);
    }
    // Converted line by line, straight into the list: CR and LF are the same bytes in
    // Windows-1252 and UTF-8, and no converted character contains them, so cutting first and
    // converting each line gives the lines of the converted whole.
    SettingsList list;
    list.lines_ = SplitLines(bytes, [](std::string_view line) { return Windows1252ToUtf8(line); });
    return list;
}

const std::string& SettingsList::Get(int index) const
{
    if (index < 0 || index >= Count()) {
        throw ListIndexOutOfBounds(index);
    }
    return lines_[static_cast<std::size_t>(index)];
}

void SettingsList::Set(int index, std::string value)
{
    if (index < 0 || index >= Count()) {
        throw ListIndexOutOfBounds(index);
    }
    lines_[static_cast<std::size_t>(index)] = std::move(value);
}

std::string SettingsList::ToText() const
{
    std::size_t size = 0;
    for (const std::string& line : lines_) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace quillora
