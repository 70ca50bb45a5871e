#include "window/skin_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "common/error.hpp"

namespace quillora {
namespace {

TEST(SkinStore, PositionSelectsSkinNoneOrFails)
{
    // index -> selected stored skin (nullopt: none)
    EXPECT_EQ(SelectStoredSkin(0), std::optional<int>(0));
    EXPECT_EQ(SelectStoredSkin(15), std::optional<int>(15));
    EXPECT_EQ(SelectStoredSkin(16), std::nullopt);
    EXPECT_EQ(SelectStoredSkin(2147483647), std::nullopt);

    // negative -> "List index out of bounds (%d)" with the index as given
    for (const long long index : {-1LL, -2147483648LL}) {
        try {
            (void)SelectStoredSkin(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST(SkinStore, SheetSplitsAtTheFirstLineStartingWithTheMarker)
{
    struct Case {
        std::string_view sheet;
        std::string_view palette;
        std::string_view own_rules;
    };
    // sheet -> palette + own rules
    const Case cases[] = {
        {"@define-color a #fff;\n/* Own rules */\nb { }\n", "@define-color a #fff;\n",
         "/* Own rules */\nb { }\n"},
        {"/* Own rules */\nb { }", "", "/* Own rules */\nb { }"},
        {"@define-color a #fff;\n", "@define-color a #fff;\n", ""},
        {"", "", ""},
        // Only at the start of a line, and only the first one.
        {"a { } /* Own rules */\n", "a { } /* Own rules */\n", ""},
        {" /* Own rules */\n", " /* Own rules */\n", ""},
        {"x\n/* Own rules */\n/* Own rules */\n", "x\n", "/* Own rules */\n/* Own rules */\n"},
        // The last line without its line end.
        {"x\n/* Own rules */", "x\n", "/* Own rules */"},
        {"x\n/* Own rules", "x\n/* Own rules", ""},
    };
    for (const Case& c : cases) {
        const SkinSheetParts parts = SplitSkinSheet(c.sheet);
        EXPECT_EQ(parts.palette, c.palette) << c.sheet;
        EXPECT_EQ(parts.own_rules, c.own_rules) << c.sheet;
    }
}

TEST(SkinStore, ComposedSheetIsPaletteThenSharedThenOwnRules)
{
    struct Case {
        std::string_view skin_sheet;
        std::string_view shared_rules;
        std::string_view loaded;
    };
    // skin sheet, shared rules -> sheet loaded
    const Case cases[] = {
        {"P\n/* Own rules */\nO\n", "S\n", "P\nS\n/* Own rules */\nO\n"},
        // Parts without a final line end still start on lines of their own.
        {"P\n/* Own rules */\nO", "S", "P\nS\n/* Own rules */\nO\n"},
        {"P", "S", "P\nS\n"},
        {"/* Own rules */\nO\n", "S\n", "S\n/* Own rules */\nO\n"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeSkinSheet(c.skin_sheet, c.shared_rules), c.loaded) << c.skin_sheet;
    }
}

std::string SourceText(std::string_view resource_path)
{
    const std::string prefix = "/org/quillora/";
    EXPECT_EQ(resource_path.substr(0, prefix.size()), prefix);
    std::ifstream file(std::filesystem::path(QUILLORA_SOURCE_DIR) / "src/resources" /
                       resource_path.substr(prefix.size()));
    EXPECT_TRUE(file) << resource_path;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string WithoutComments(std::string_view text)
{
    static const std::regex comment(R"(/\*[\s\S]*?\*/)");
    return std::regex_replace(std::string(text), comment, " ");
}

// The palette is loaded before the shared rules and the own rules after them: a rule in the
// palette would lose to the shared rules, and a colour defined after the palette would change
// that colour for every rule of the skin, the shared ones included.
TEST(SkinStore, PalettesHoldOnlyColoursAndNoOtherPartDefinesOne)
{
    static const std::regex definitions(R"((\s*@define-color\s+[A-Za-z0-9_-]+\s+[^;{}]+;)*\s*)");
    const std::string shared = SourceText(SharedSkinRulesPath);
    EXPECT_EQ(WithoutComments(shared).find("@define-color"), std::string::npos);
    EXPECT_EQ(shared.find(OwnRulesMarker), std::string::npos);
    for (const StoredSkin& skin : StoredSkins()) {
        SCOPED_TRACE(std::string(skin.resource_path));
        const std::string text = SourceText(skin.resource_path);
        const SkinSheetParts parts = SplitSkinSheet(text);
        EXPECT_TRUE(std::regex_match(WithoutComments(parts.palette), definitions));
        EXPECT_NE(parts.palette.find("@define-color"), std::string_view::npos);
        EXPECT_EQ(WithoutComments(parts.own_rules).find("@define-color"), std::string::npos);
    }
}

TEST(SkinStore, EverySkinHasItsOwnNameAndSheet)
{
    std::set<std::string_view> names;
    std::set<std::string_view> paths;
    for (const StoredSkin& skin : StoredSkins()) {
        EXPECT_FALSE(skin.name.empty());
        names.insert(skin.name);
        paths.insert(skin.resource_path);
        // The sheet must be in the source tree under the name the resource bundle gives it.
        const std::string prefix = "/org/quillora/";
        ASSERT_EQ(skin.resource_path.substr(0, prefix.size()), prefix);
        const std::filesystem::path source = std::filesystem::path(QUILLORA_SOURCE_DIR) /
                                             "src/resources" /
                                             skin.resource_path.substr(prefix.size());
        EXPECT_TRUE(std::filesystem::is_regular_file(source)) << source;
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(StoredSkinCount));
    EXPECT_EQ(paths.size(), static_cast<size_t>(StoredSkinCount));
}

}  // namespace
}  // namespace quillora
