#pragma once

#include <array>
#include <functional>
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

// Looks: blocks of rules that several skins share, one concept each (sunken status-bar panels,
// a glossy progress bar, ...). A skin asks for one with a look line in its own rules, a line
// holding only the comment "look: NAME"; the look's rules take that line's place, so they fall
// in the cascade exactly where the line stands. The look named NAME is the sheet at
// SkinLooksPath + NAME + ".css"; NAME is made of lower-case letters, digits and hyphens.
inline constexpr std::string_view SkinLooksPath = "/org/quillora/skins/looks/";
inline constexpr std::string_view LookLineStart = "/* look:";

// The text of the look named `name`, or nullopt when there is no such look.
using SkinLookTexts = std::function<std::optional<std::string>(std::string_view name)>;

// `own_rules` with each look line replaced by the text of its look. A look line is a whole line
// (blanks at either end aside); a look mentioned inside other text is left alone. A line that
// starts like a look line must be one: a misspelt line would otherwise be a comment, and the
// look would silently be missing. Looks do not nest. Throws Error naming `skin` and the look for
// an unknown look, a look line that is not well formed, or a look that has a look line itself.
std::string ExpandSkinLooks(std::string_view own_rules, const SkinLookTexts& looks, std::string_view skin);

// The style sheet a skin is loaded as: its palette, then the shared rules, then its own rules
// with their looks expanded, so that every colour is defined before the rules and the skin's
// own rules come last and win. Each part starts on a line of its own. Errors as ExpandSkinLooks.
std::string ComposeSkinSheet(std::string_view skin_sheet, std::string_view shared_rules, const SkinLookTexts& looks,
                             std::string_view skin);

}  // namespace quillora
