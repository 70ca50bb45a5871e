#include "menu/profile_reader.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/ascii_case.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Cuts the next line off `text`; CR LF, LF and CR each end a line.
std::string_view NextLine(std::string_view& text)
{
    const auto end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

class Parser {
public:
    Parser(std::vector<ProfileSection>& sections, std::unordered_map<std::string, std::size_t>& section_index,
           std::vector<ProfileNote>& notes)
        : sections_(sections)
        , section_index_(section_index)
        , notes_(notes)
    {}

    void Line(int number, std::string_view raw)
    {
        const auto text = Trim(raw);
        if (text.empty() || text.front() == ';') {
            return;
        }
        if (text.front() == '[') {
            Header(number, text);
            return;
        }
        const auto equals = text.find('=');
        if (!in_section_) {
            if (equals != std::string_view::npos) {
                notes_.push_back({ProfileNoteKind::KeyOutsideSection, number, 0, 0, {}, {}});
            }
            return;
        }
        if (equals == std::string_view::npos) {
            notes_.push_back({ProfileNoteKind::NotAKeyLine, number, 0, 0, {}, {}});
            return;
        }
        Key(number, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1)));
    }

private:
    void Header(int number, std::string_view text)
    {
        const auto close = text.rfind(']');
        current_ = None;
        in_section_ = false;
        if (close == std::string_view::npos) {
            notes_.push_back({ProfileNoteKind::UnclosedHeader, number, 0, 0, std::string(text), {}});
            return;
        }
        const auto name = Trim(text.substr(1, close - 1));
        in_section_ = true;
        const auto [earlier, added] = section_index_.try_emplace(AsciiLowerCopy(name), sections_.size());
        if (!added) {
            notes_.push_back(
                {ProfileNoteKind::RepeatedSection, number, sections_[earlier->second].line, 0, std::string(name), {}});
            return;  // in a section, but one whose keys nobody reads
        }
        current_ = sections_.size();
        sections_.push_back({std::string(name), number, {}, {}});
    }

    void Key(int number, std::string_view name, std::string_view raw_value)
    {
        if (name.empty()) {
            notes_.push_back({ProfileNoteKind::EmptyKeyName, number, 0, 0, {}, {}});
            return;
        }
        if (current_ == None) {
            return;
        }
        auto& section = sections_[current_];
        auto& keys = section.keys;
        const auto [earlier, added] = section.key_index.try_emplace(AsciiLowerCopy(name), keys.size());
        if (!added) {
            notes_.push_back(
                {ProfileNoteKind::RepeatedKey, number, keys[earlier->second].line, 0, std::string(name), section.name});
            return;
        }
        const auto value = Unquote(raw_value);
        std::string kept = Utf8Prefix(value, MaxProfileValueLength);
        if (kept.size() < value.size()) {
            notes_.push_back(
                {ProfileNoteKind::ValueCut, number, 0, Utf8Length(value), std::string(name), sections_[current_].name});
        }
        keys.push_back({std::string(name), std::move(kept), number});
    }

    std::vector<ProfileSection>& sections_;
    std::unordered_map<std::string, std::size_t>& section_index_;
    std::vector<ProfileNote>& notes_;
    static constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t current_ = None;  // the section that takes key lines; None in an ignored one
    bool in_section_ = false;
};

}  // namespace

bool SameProfileName(std::string_view a, std::string_view b)
{
    return EqualsIgnoringCase(a, b);
}

ProfileText ProfileText::Parse(std::string_view text, int first_line)
{
    ProfileText result;
    Parser parser(result.sections_, result.section_index_, result.notes_);
    for (int number = first_line; !text.empty(); ++number) {
        parser.Line(number, NextLine(text));
    }
    return result;
}

ProfileText ProfileText::ReadFile(const std::string& path)
{
    // Never through a link: the file is one this program made, in a folder others write to.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return {};
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            return got < 0 ? ProfileText{} : Parse(bytes);
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

const ProfileKey* ProfileSection::FindKey(std::string_view key) const
{
    const auto found = key_index.find(AsciiLowerCopy(key));
    return found == key_index.end() ? nullptr : &keys[found->second];
}

const ProfileSection* ProfileText::FindSection(std::string_view name) const
{
    const auto found = section_index_.find(AsciiLowerCopy(name));
    return found == section_index_.end() ? nullptr : &sections_[found->second];
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (const auto* found = FindSection(section)) {
        for (const auto& key : found->keys) {
            names.push_back(key.name);
        }
    }
    return names;
}

std::string ProfileText::Value(std::string_view section, std::string_view key) const
{
    if (const auto* found = FindSection(section)) {
        if (const auto* entry = found->FindKey(key)) {
            return entry->value;
        }
    }
    return {};
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const
{
    return ProfileText::ReadFile(path_).KeyNames(section);
}

std::string ProfileFile::Value(std::string_view section, std::string_view key) const
{
    return ProfileText::ReadFile(path_).Value(section, key);
}

}  // namespace quillora
