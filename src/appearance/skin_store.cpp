#include "appearance/skin_store.hpp"

#include "common/error.hpp"

namespace quillora {

const std::array<StoredSkin, StoredSkinCount>& StoredSkins()
{
    static constexpr std::array<StoredSkin, StoredSkinCount> skins{{
        {"Classic Silver", "/org/quillora/skins/skin00.css"},
        {"Graphite", "/org/quillora/skins/skin01.css"},
        {"Ocean", "/org/quillora/skins/skin02.css"},
        {"Forest", "/org/quillora/skins/skin03.css"},
        {"Sepia Paper", "/org/quillora/skins/skin04.css"},
        {"High Contrast", "/org/quillora/skins/skin05.css"},
        {"Rose", "/org/quillora/skins/skin06.css"},
        {"Amber", "/org/quillora/skins/skin07.css"},
        {"Midnight", "/org/quillora/skins/skin08.css"},
        {"Mint", "/org/quillora/skins/skin09.css"},
        {"Slate", "/org/quillora/skins/skin10.css"},
        {"Sand", "/org/quillora/skins/skin11.css"},
        {"Ruby", "/org/quillora/skins/skin12.css"},
        {"Arctic", "/org/quillora/skins/skin13.css"},
        {"Terminal", "/org/quillora/skins/skin14.css"},
        {"Royal", "/org/quillora/skins/skin15.css"},
    }};
    return skins;
}

std::optional<int> SelectStoredSkin(long long index)
{
    if (index < 0) {
        throw ListIndexOutOfBounds(index);
    }
    if (index >= StoredSkinCount) {
        return std::nullopt;
    }
    return static_cast<int>(index);
}

SkinSheetParts SplitSkinSheet(std::string_view sheet)
{
    for (size_t line = 0; line < sheet.size();) {
        if (sheet.substr(line).starts_with(OwnRulesMarker)) {
            return {sheet.substr(0, line), sheet.substr(line)};
        }
        const size_t end = sheet.find('\n', line);
        line = end == std::string_view::npos ? sheet.size() : end + 1;
    }
    return {sheet, {}};
}

namespace {

// Appends `text` and ends its last line, so that whatever follows starts on a line of its own.
void AppendLines(std::string& sheet, std::string_view text)
{
    sheet += text;
    if (!sheet.empty() && sheet.back() != '\n') {
        sheet += '\n';
    }
}

std::string_view TrimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsLookName(std::string_view name)
{
    return !name.empty() && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") == std::string_view::npos;
}

// The look a line asks for; empty for a line that is no look line. Throws for a line that starts
// like one but is not well formed.
std::string_view LookAskedFor(std::string_view line, std::string_view skin)
{
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.starts_with(LookLineStart)) {
        return {};
    }
    std::string_view name = trimmed.substr(LookLineStart.size());
    if (name.ends_with("*/")) {
        name = TrimBlanks(name.substr(0, name.size() - 2));
        if (IsLookName(name)) {
            return name;
        }
    }
    throw Error("Skin \"" + std::string(skin) +
                "\" has a look line that is not \"/* look: NAME */\": " + std::string(trimmed));
}

// Calls `each` with every line of `text`, its line end included.
template <typename Each>
void ForEachLine(std::string_view text, Each each)
{
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        each(text.substr(start, next - start));
        start = next;
    }
}

}  // namespace

std::string ExpandSkinLooks(std::string_view own_rules, const SkinLookTexts& looks, std::string_view skin)
{
    std::string expanded;
    expanded.reserve(own_rules.size());
    ForEachLine(own_rules, [&](std::string_view line) {
        const std::string_view name = LookAskedFor(line, skin);
        if (name.empty()) {
            expanded += line;
            return;
        }
        const std::optional<std::string> text = looks(name);
        if (!text) {
            throw Error("Skin \"" + std::string(skin) + "\" asks for the unknown look \"" + std::string(name) + "\"");
        }
        ForEachLine(*text, [&](std::string_view look_line) {
            if (TrimBlanks(look_line).starts_with(LookLineStart)) {
                throw Error("Skin \"" + std::string(skin) + "\": the look \"" + std::string(name) +
                            "\" asks for another look, and looks do not nest");
            }
        });
        AppendLines(expanded, *text);
    });
    return expanded;
}

std::string ComposeSkinSheet(std::string_view skin_sheet, std::string_view shared_rules, const SkinLookTexts& looks,
                             std::string_view skin)
{
    const SkinSheetParts parts = SplitSkinSheet(skin_sheet);
    std::string sheet;
    sheet.reserve(skin_sheet.size() + shared_rules.size() + 2);
    // A part that does not end its last line would run into the next part's first line.
    AppendLines(sheet, parts.palette);
    AppendLines(sheet, shared_rules);
    AppendLines(sheet, ExpandSkinLooks(parts.own_rules, looks, skin));
    return sheet;
}

}  // namespace quillora
