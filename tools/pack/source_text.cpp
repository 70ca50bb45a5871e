#include "source_text.hpp"

#include <algorithm>
#include <map>
#include <optional>

#include "common/ascii_case.hpp"
#include "edit_distance.hpp"
#include "payload/setting_index.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The closest setting name or package key, for "did you mean" hints; none when nothing is close. The lengths
// alone bound the distance from below, so a name far longer than any setting costs no
// comparison at all (a megabyte-long name would otherwise cost seconds per line).
std::optional<std::string_view> ClosestSettingName(std::string_view name)
{
    std::optional<std::string_view> best;
    std::size_t best_distance = 3;
    constexpr auto Settings = static_cast<std::size_t>(SettingCount);
    for (std::size_t index = 0; index < Settings + PackageFieldCount; ++index) {
        const auto candidate = index < Settings ? SettingAt(static_cast<int>(index)).name
                                                : PackageFieldKey(static_cast<PackageField>(index - Settings));
        if (LengthGap(candidate, name) >= best_distance) {
            continue;
        }
        const std::size_t distance = EqualsIgnoringCase(candidate, name) ? 0 : EditDistance(candidate, name);
        if (distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

// An unknown name as messages show it: a long one is cut to its first characters and its
// length given, so that a file of huge names does not print them all again.
std::string ShownName(std::string_view name)
{
    constexpr std::size_t Shown = 48;
    if (name.size() <= Shown + 16) {
        return std::string(name);
    }
    return Utf8Prefix(name, Shown) + "... (" + std::to_string(name.size()) + " bytes)";
}

// Control characters other than the tab cannot stand in a payload line: CR and LF would cut it,
// NUL would end the whole text.
std::optional<std::string> LineCharacterProblem(std::string_view line)
{
    if (!IsValidUtf8(line)) {
        return "the line is not valid UTF-8 text";
    }
    for (const char c : line) {
        if (c == '\r') {
            return "the line holds a carriage return that does not end it";
        }
        if (c != '\t' && static_cast<unsigned char>(c) < 0x20) {
            return "the line holds control character " + std::to_string(static_cast<int>(c));
        }
    }
    return std::nullopt;
}

class SourceParser {
public:
    SourceParser(const std::string& file, Diagnostics& diagnostics) : file_(file), diagnostics_(diagnostics) {}

    BookSourceText Parse(std::string_view text)
    {
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);  // a byte-order mark some editors put in front of UTF-8
        }
        if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
            // An e-book or a picture given by mistake: one message instead of one per line.
            const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n') + 1;
            diagnostics_.Error(file_, static_cast<int>(line), "",
                               "the file holds a NUL byte; a book source is a text file");
            return std::move(result_);
        }
        const auto lines = SplitSourceLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            const bool readable = CheckCharacters(number, lines[i]);
            if (result_.has_menu) {
                result_.menu.push_back({number, lines[i]});
            } else if (readable) {
                ParseSettingsLine(number, lines[i]);
            }
        }
        return std::move(result_);
    }

private:
    bool CheckCharacters(int number, std::string_view line)
    {
        if (const auto problem = LineCharacterProblem(line)) {
            diagnostics_.Error(file_, number, "", *problem);
            return false;
        }
        return true;
    }

    void ParseSettingsLine(int number, std::string_view raw)
    {
        const auto line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (EqualsIgnoringCase(line, MenuMarker)) {
            result_.has_menu = true;
            result_.menu_marker_line = number;
            return;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            std::string message = "expected 'name = value', a '#' comment or the line " + std::string(MenuMarker);
            if (line.front() == '[') {
                message += " (menu sections go below the " + std::string(MenuMarker) + " line)";
            }
            diagnostics_.Error(file_, number, "", message);
            return;
        }
        const auto name = Trim(line.substr(0, equals));
        if (name.empty()) {
            diagnostics_.Error(file_, number, "", "expected a setting name before '='");
            return;
        }
        const auto field = FindPackageField(name);
        const auto index = field ? std::optional<int>(-1 - static_cast<int>(*field)) : FindSetting(name);
        if (!index) {
            std::string message = "no such setting";
            if (const auto closest = ClosestSettingName(name)) {
                message += " (did you mean " + std::string(*closest) + "?)";
            }
            diagnostics_.Error(file_, number, SettingSubject(ShownName(name)), message);
            return;
        }
        if (const auto first = first_lines_.find(*index); first != first_lines_.end()) {
            diagnostics_.Error(file_, number, SettingSubject(name),
                               "set twice (first on line " + std::to_string(first->second) + ")");
            return;
        }
        first_lines_.emplace(*index, number);

        auto value = Trim(line.substr(equals + 1));
        if (!value.empty() && value.front() == '"') {
            if (value.size() < 2 || value.back() != '"') {
                diagnostics_.Error(file_, number, SettingSubject(name),
                                   "a value that starts with a double quote must end with one");
                return;
            }
            value = value.substr(1, value.size() - 2);
        }
        if (field) {
            result_.package[static_cast<std::size_t>(*field)] = PackageValue{std::string(value), number};
        } else {
            result_.settings.push_back({number, *index, std::string(value)});
        }
    }

    const std::string& file_;
    Diagnostics& diagnostics_;
    BookSourceText result_;
    std::map<int, int> first_lines_;  // setting index (package field: -1 - field) -> line that set it
};

}  // namespace

std::vector<std::string> SplitSourceLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

BookSourceText ParseBookSource(std::string_view text, const std::string& file, Diagnostics& diagnostics)
{
    return SourceParser(file, diagnostics).Parse(text);
}

std::string SourceValue(std::string_view value)
{
    const bool needs_quotes = value.empty() || IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"';
    if (!needs_quotes) {
        return std::string(value);
    }
    return '"' + std::string(value) + '"';
}

}  // namespace quillora::pack
