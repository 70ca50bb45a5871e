#include "window/skin_store.hpp"

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

std::string ComposeSkinSheet(std::string_view skin_sheet, std::string_view shared_rules)
{
    const SkinSheetParts parts = SplitSkinSheet(skin_sheet);
    std::string sheet;
    sheet.reserve(skin_sheet.size() + shared_rules.size() + 2);
    // A part that does not end its last line would run into the next part's first line.
    for (const std::string_view part : {parts.palette, shared_rules, parts.own_rules}) {
        sheet += part;
        if (!sheet.empty() && sheet.back() != '\n') {
            sheet += '\n';
        }
    }
    return sheet;
}

}  // namespace quillora
