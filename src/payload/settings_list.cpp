#include "payload/settings_list.hpp"

#include "common/error.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

SettingsList SettingsList::FromText(std::string_view text)
{
    text = UpToNul(text);
    SettingsList list;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        list.lines_.emplace_back(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n') {
            ++i;
        }
        start = i;
    }
    // A terminator at the very end leaves nothing here, so it adds no empty line.
    if (start < text.size()) {
        list.lines_.emplace_back(text.substr(start));
    }
    return list;
}

SettingsList SettingsList::FromPayloadBytes(std::string_view bytes)
{
    return FromText(DecodePayloadText(UpToNul(bytes)));
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
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace quillora
