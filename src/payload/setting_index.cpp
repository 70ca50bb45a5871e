#include "payload/setting_index.hpp"

#include <array>

#include "common/error.hpp"

namespace quillora {

namespace {

constexpr SettingInfo Settings[] = {
#define QUILLORA_SETTING_INFO(index, name, kind) {index, #name, SettingKind::kind},
    QUILLORA_SETTINGS(QUILLORA_SETTING_INFO)
#undef QUILLORA_SETTING_INFO
};

constexpr bool IndexesAreLineNumbers()
{
    for (int i = 0; i < static_cast<int>(std::size(Settings)); ++i) {
        if (Settings[i].index != i) {
            return false;
        }
    }
    return true;
}

static_assert(std::size(Settings) == SettingCount, "one setting per payload line");
static_assert(IndexesAreLineNumbers(), "the settings are listed in line order without gaps");

}  // namespace

const SettingInfo& SettingAt(int index)
{
    if (index < 0 || index >= SettingCount) {
        throw ListIndexOutOfBounds(index);
    }
    return Settings[index];
}

std::optional<int> FindSetting(std::string_view name)
{
    for (const SettingInfo& info : Settings) {
        if (info.name == name) {
            return info.index;
        }
    }
    return std::nullopt;
}

std::string_view SettingKindName(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Text: return "text";
    case SettingKind::Flag: return "flag";
    case SettingKind::Number: return "number";
    case SettingKind::ToolkitColour: return "toolkit colour";
    case SettingKind::PageColour: return "page colour";
    case SettingKind::StoredPath: return "page path";
    case SettingKind::ActionString: return "action";
    case SettingKind::NotUsed: return "unused";
    }
    return "unknown";
}

}  // namespace quillora
