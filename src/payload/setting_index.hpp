#pragma once

#include <optional>
#include <string_view>

#include "payload/setting_list.def"

namespace quillora {

enum class SettingKind { Text, Flag, Number, ToolkitColour, PageColour, StoredPath, ActionString, NotUsed };

// Index constants named after the settings: setting::title is 0, setting::skin_index 102.
namespace setting {
#define QUILLORA_SETTING_INDEX(index, name, kind) inline constexpr int name = index;
QUILLORA_SETTINGS(QUILLORA_SETTING_INDEX)
#undef QUILLORA_SETTING_INDEX
}  // namespace setting

inline constexpr int SettingCount = 103;

struct SettingInfo {
    int index;
    std::string_view name;
    SettingKind kind;
};

// The table of all settings, in index order; "List index out of bounds (%d)" outside 0..102.
const SettingInfo& SettingAt(int index);
// The index of the setting with exactly this name (letter case counts).
std::optional<int> FindSetting(std::string_view name);
// "flag", "toolkit colour", "page path", ... as the authors' documentation names the kinds.
std::string_view SettingKindName(SettingKind kind);

}  // namespace quillora
