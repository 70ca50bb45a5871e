#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// One of the skins compiled into the program: its name and its style sheet in the resources.
struct StoredSkin {
    std::string_view name;
    std::string_view resource_path;
};

// The skin store: sixteen skins, SkinItem0 to SkinItem15, in the order the settings count them.
inline constexpr int StoredSkinCount = 16;
const std::array<StoredSkin, StoredSkinCount>& StoredSkins();

// The stored skin that "load the stored skin at position `index`" selects: the skin itself for
// 0 to 15, none at or beyond the count (not an error: the engine then runs without a skin).
// A negative position throws "List index out of bounds (%d)".
std::optional<int> SelectStoredSkin(long long index);

// The rules all stored skins share, written in the colours of the skins' palettes.
inline constexpr std::string_view SharedSkinRulesPath = "/org/quillora/skins/skin_rules.css";

// The line in a skin's sheet where its palette ends and its own rules begin.
inline constexpr std::string_view OwnRulesMarker = "/* Own rules */";

// A skin's sheet cut at the first line that starts with the marker: the palette before it, the
// own rules from the marker on. Without a marker the whole sheet is palette.
struct SkinSheetParts {
    std::string_view palette;
    std::string_view own_rules;
};
SkinSheetParts SplitSkinSheet(std::string_view sheet);

// The style sheet a skin is loaded as: its palette, then the shared rules, then its own rules,
// so that every colour is defined before the rules and the skin's own rules come last and win.
// Each part starts on a line of its own.
std::string ComposeSkinSheet(std::string_view skin_sheet, std::string_view shared_rules);

}  // namespace quillora
