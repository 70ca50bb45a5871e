#include "package_rules.hpp"

#include "common/ascii_case.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

constexpr std::array<std::string_view, PackageFieldCount> Keys = {"package_name", "package_version",
                                                                  "package_maintainer", "package_summary"};

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || IsDigit(c) || c == '+' || c == '-' || c == '.';
}

constexpr bool IsVersionCharacter(char c)
{
    return IsAsciiAlnum(c) || c == '.' || c == '+' || c == '~';
}

// A character as a message quotes it: a control character by its number.
std::string Shown(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
        return "control character " + std::to_string(byte);
    }
    if (byte >= 0x80) {
        return "a non-ASCII character";
    }
    return "'" + std::string(1, c) + "'";
}

}  // namespace

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view PackageFieldKey(PackageField field)
{
    return Keys[static_cast<std::size_t>(field)];
}

std::optional<PackageField> FindPackageField(std::string_view key)
{
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (EqualsIgnoringCase(Keys[i], key)) {
            return static_cast<PackageField>(i);
        }
    }
    return std::nullopt;
}

std::optional<std::string> PackageNameProblem(std::string_view name)
{
    if (name.empty()) {
        return "is empty";
    }
    for (const char c : name) {
        if (!IsNameCharacter(c)) {
            return "may hold only lower-case letters, digits, '+', '-' and '.', not " + Shown(c);
        }
    }
    if (name.size() < 2) {
        return "needs at least two characters";
    }
    if (!IsAsciiAlnum(name.front())) {
        return "must start with a letter or a digit";
    }
    return std::nullopt;
}

std::optional<std::string> PackageVersionProblem(std::string_view version)
{
    if (version.empty()) {
        return "is empty";
    }
    if (!IsDigit(version.front())) {
        return "must start with a digit";
    }
    for (const char c : version) {
        if (!IsVersionCharacter(c)) {
            return "may hold only letters, digits, '.', '+' and '~', not " + Shown(c);
        }
    }
    return std::nullopt;
}

MaintainerParts SplitMaintainer(std::string_view maintainer)
{
    const auto open = maintainer.find('<');
    if (open == std::string_view::npos || maintainer.empty() || maintainer.back() != '>') {
        return {};
    }
    return {std::string(Trim(maintainer.substr(0, open))),
            std::string(maintainer.substr(open + 1, maintainer.size() - open - 2))};
}

std::optional<std::string> MaintainerProblem(std::string_view maintainer)
{
    if (maintainer.empty()) {
        return "is empty";
    }
    for (const char c : maintainer) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "may not hold " + Shown(c);
        }
    }
    if (!IsValidUtf8(maintainer)) {
        return "is not valid UTF-8 text";
    }
    const auto [name, address] = SplitMaintainer(maintainer);
    if (address.empty() && name.empty()) {
        return "must be written 'Name <address>'";
    }
    if (name.empty()) {
        return "needs a name before the address";
    }
    if (name.find_first_of("<>,") != std::string::npos) {
        return "may not hold '<', '>' or ',' in its name";
    }
    const auto at = address.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string::npos || address.find_first_of(" \t<>,") != std::string::npos) {
        return "has no valid address between '<' and '>' ('" + address + "')";
    }
    return std::nullopt;
}

std::optional<std::string> SummaryProblem(std::string_view summary)
{
    if (Trim(summary).empty()) {
        return "is empty";
    }
    for (const char c : summary) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "may not hold " + Shown(c);
        }
    }
    if (!IsValidUtf8(summary)) {
        return "is not valid UTF-8 text";
    }
    std::size_t characters = 0;
    for (const char c : summary) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters > 80) {
        return "has " + std::to_string(characters) + " characters; at most 80 fit on one line";
    }
    return std::nullopt;
}

std::string SuggestPackageName(std::string_view text)
{
    std::string name;
    bool separate = false;
    for (const char raw : text) {
        const char c = AsciiLower(raw);
        if (IsNameCharacter(c) && c != '-') {
            if (separate && !name.empty()) {
                name += '-';
            }
            separate = false;
            name += c;
        } else {
            separate = true;
        }
    }
    // The first character must be a letter or a digit; '+' and '.' may stand anywhere else.
    while (!name.empty() && !IsAsciiAlnum(name.front())) {
        name.erase(0, 1);
    }
    return PackageNameProblem(name) ? std::string() : name;
}

std::string SuggestPackageVersion(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsVersionCharacter(text[end])) {
            ++end;
        }
        std::string version(text.substr(i, end - i));
        while (!version.empty() && (version.back() == '.' || version.back() == '+')) {
            version.pop_back();  // "1.0." at the end of a sentence
        }
        return version;
    }
    return {};
}

}  // namespace quillora::pack
