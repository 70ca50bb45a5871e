// The settings table of docs/book-source.md is what authors read; it must name every setting
// with its kind and the default the tool really gives.
#include <gtest/gtest.h>

#include <set>

#include "pack_test_support.hpp"
#include "payload/setting_index.hpp"
#include "setting_defaults.hpp"
#include "source_text.hpp"

namespace quillora::pack {
namespace {

std::vector<std::string> Cells(const std::string& row)
{
    std::vector<std::string> cells;
    std::size_t start = 1;
    for (std::size_t at = 1; at < row.size(); ++at) {
        if (row[at] == '|' && row[at - 1] != '\\') {
            std::string cell = row.substr(start, at - start);
            cell.erase(0, cell.find_first_not_of(' '));
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
            start = at + 1;
        }
    }
    return cells;
}

// "`x`" -> x; anything else (a default described in words) -> nullopt.
std::optional<std::string> SingleCode(const std::string& cell)
{
    if (cell.size() >= 2 && cell.front() == '`' && cell.back() == '`' && cell.find('`', 1) == cell.size() - 1) {
        return cell.substr(1, cell.size() - 2);
    }
    return std::nullopt;
}

TEST(SettingsReference, EverySettingIsDocumentedWithItsKindAndDefault)
{
    const auto text = testing::ReadFile(std::filesystem::path(QUILLORA_SOURCE_DIR) / "docs" / "book-source.md");
    ASSERT_FALSE(text.empty());
    DefaultContext context;
    context.title = DefaultValue(setting::title, context);

    std::set<int> documented;
    for (const auto& row : SplitSourceLines(text)) {
        if (!row.starts_with("| ")) {
            continue;
        }
        const auto cells = Cells(row);
        if (cells.size() != 5 || cells[0].empty() || cells[0].find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const int index = std::stoi(cells[0]);
        const auto name = SingleCode(cells[1]);
        ASSERT_TRUE(name) << row;
        ASSERT_EQ(FindSetting(*name), index) << row;
        EXPECT_TRUE(documented.insert(index).second) << "twice: " << row;
        EXPECT_EQ(cells[2], SettingKindName(SettingAt(index).kind)) << row;
        if (const auto written = SingleCode(cells[3])) {
            EXPECT_EQ(*written, SourceValue(DefaultValue(index, context))) << row;
        } else {
            EXPECT_TRUE(index == setting::about_title || index == setting::about_app_name ||
                        index == setting::custom_menu_on)
                << "default in words: " << row;
        }
    }
    for (int index = 0; index < SettingCount; ++index) {
        const bool in_range_row = index >= setting::reserved_52 && index <= setting::reserved_79;
        EXPECT_EQ(documented.contains(index), !in_range_row) << SettingAt(index).name;
    }
    for (int index = setting::reserved_52; index <= setting::reserved_79; ++index) {
        EXPECT_EQ(DefaultValue(index, context), "");
    }
}

}  // namespace
}  // namespace quillora::pack
