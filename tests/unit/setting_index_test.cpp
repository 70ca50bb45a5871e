// The table of the 103 settings: line numbers, names and kinds.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/error.hpp"
#include "payload/setting_index.hpp"

namespace quillora {
namespace {

TEST(SettingIndex, SampleRowsOfEveryKind)
{
    struct Row {
        int index;
        const char* name;
        SettingKind kind;
    };
    // line -> name, kind
    for (const Row& row :
         {Row{0, "title", SettingKind::Text}, Row{1, "gradient_caption_on", SettingKind::Flag},
          Row{2, "gradient_start_color", SettingKind::ToolkitColour}, Row{5, "window_width", SettingKind::Number},
          Row{10, "home_page", SettingKind::StoredPath}, Row{25, "scrollbar_face_color", SettingKind::PageColour},
          Row{51, "startup_action", SettingKind::ActionString}, Row{52, "reserved_52", SettingKind::NotUsed},
          Row{79, "reserved_79", SettingKind::NotUsed}, Row{80, "home_button_alt_on", SettingKind::Flag},
          Row{81, "home_button_alt_page", SettingKind::StoredPath}, Row{97, "about_copyright", SettingKind::Text},
          Row{98, "about_app_name_size", SettingKind::Number}, Row{102, "skin_index", SettingKind::Number}}) {
        SCOPED_TRACE(row.name);
        const SettingInfo& info = SettingAt(row.index);
        EXPECT_EQ(info.index, row.index);
        EXPECT_EQ(info.name, row.name);
        EXPECT_EQ(info.kind, row.kind);
        EXPECT_EQ(FindSetting(row.name), row.index);
    }
    EXPECT_EQ(setting::block_ctrl_p, 94);
    EXPECT_EQ(setting::skin_on, 101);
}

TEST(SettingIndex, NamesAreUniqueAndFoundExactly)
{
    std::set<std::string_view> names;
    for (int i = 0; i < SettingCount; ++i) {
        names.insert(SettingAt(i).name);
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(SettingCount));
    EXPECT_EQ(FindSetting("Home_Page"), std::nullopt);
    EXPECT_EQ(FindSetting("home_page "), std::nullopt);
    EXPECT_EQ(FindSetting(""), std::nullopt);
}

TEST(SettingIndex, OutsideTheTable)
{
    for (const int index : {-1, 103}) {
        try {
            (void)SettingAt(index);
            ADD_FAILURE() << index;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

// The words themselves are checked against the authors' documentation by the tool's tests.
TEST(SettingIndex, EveryKindHasANameOfItsOwn)
{
    std::set<std::string_view> names;
    for (int index = 0; index < SettingCount; ++index) {
        const std::string_view name = SettingKindName(SettingAt(index).kind);
        EXPECT_NE(name, "unknown") << SettingAt(index).name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 8u) << "every kind is used by some setting, each with its own name";
}

}  // namespace
}  // namespace quillora
