#include "payload/settings_list.hpp"

#include <algorithm>

#include "common/error.hpp"
#include "payload/setting_index.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

constexpr std::string_view LineEnd = "\r\n";

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

}  // namespace

SettingsList SettingsList::Cut(std::string_view text, bool from_windows1252)
{
    const auto decoded_size = [from_windows1252](std::string_view line) {
        return from_windows1252 ? Windows1252Utf8Size(line) : line.size();
    };
    // A first pass sizes everything, so that a large text is allocated once and never copied
    // while it grows; the raw text and the list are then the only copies there are.
    std::size_t count = 0;
    std::size_t menu_size = 0;
    ForEachLine(text, [&](std::string_view line) {
        if (count++ >= SettingCount) {
            menu_size += decoded_size(line) + LineEnd.size();
        }
    });
    const std::size_t settings = std::min<std::size_t>(count, SettingCount);
    SettingsList list;
    list.settings_.reserve(settings);
    list.menu_ends_.reserve(count - settings);
    list.menu_text_.reserve(menu_size);
    // Converted line by line: CR and LF are the same bytes in Windows-1252 and UTF-8, and no
    // converted character contains them, so cutting first and converting each line gives the
    // lines of the converted whole.
    ForEachLine(text, [&](std::string_view line) {
        if (list.settings_.size() < SettingCount) {
            list.settings_.push_back(from_windows1252 ? Windows1252ToUtf8(line) : std::string(line));
            return;
        }
        if (from_windows1252) {
            AppendWindows1252AsUtf8(line, list.menu_text_);
        } else {
            list.menu_text_ += line;
        }
        list.menu_ends_.push_back(list.menu_text_.size());
        list.menu_text_ += LineEnd;
    });
    return list;
}

SettingsList SettingsList::FromText(std::string_view text)
{
    return Cut(UpToNul(text), false);
}

SettingsList SettingsList::FromPayloadBytes(std::string_view bytes)
{
    bytes = UpToNul(bytes);
    return Cut(bytes, !IsValidUtf8(bytes));
}

std::size_t SettingsList::MenuLineStart(std::size_t menu_index) const
{
    return menu_index == 0 ? 0 : menu_ends_[menu_index - 1] + LineEnd.size();
}

std::string SettingsList::Get(int index) const
{
    if (index < 0 || index >= Count()) {
        throw ListIndexOutOfBounds(index);
    }
    if (index < SettingCount) {
        return settings_[static_cast<std::size_t>(index)];
    }
    const auto menu_index = static_cast<std::size_t>(index - SettingCount);
    const std::size_t start = MenuLineStart(menu_index);
    return menu_text_.substr(start, menu_ends_[menu_index] - start);
}

void SettingsList::Set(int index, std::string value)
{
    if (index < 0 || index >= Count()) {
        throw ListIndexOutOfBounds(index);
    }
    if (index < SettingCount) {
        settings_[static_cast<std::size_t>(index)] = std::move(value);
        return;
    }
    // The line is replaced inside the menu text, and every later line moves by the difference.
    const auto menu_index = static_cast<std::size_t>(index - SettingCount);
    const std::size_t start = MenuLineStart(menu_index);
    const std::size_t old_end = menu_ends_[menu_index];
    menu_text_.replace(start, old_end - start, value);
    const std::size_t new_end = start + value.size();
    for (std::size_t i = menu_index; i < menu_ends_.size(); ++i) {
        menu_ends_[i] = menu_ends_[i] - old_end + new_end;
    }
}

void SettingsList::Append(std::string_view line)
{
    if (settings_.size() < SettingCount) {
        settings_.emplace_back(line);
        return;
    }
    menu_text_ += line;
    menu_ends_.push_back(menu_text_.size());
    menu_text_ += LineEnd;
}

std::vector<std::string> SettingsList::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        lines.push_back(Get(i));
    }
    return lines;
}

std::string SettingsList::ToText() const
{
    std::size_t size = menu_text_.size();
    for (const std::string& line : settings_) {
        size += line.size() + LineEnd.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : settings_) {
        text += line;
        text += LineEnd;
    }
    text += menu_text_;
    return text;
}

}  // namespace quillora
