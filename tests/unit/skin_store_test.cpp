#include "appearance/skin_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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
            EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(index) + ")");
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
        {"@define-color a #fff;\n/* Own rules */\nb { }\n", "@define-color a #fff;\n", "/* Own rules */\nb { }\n"},
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

// Looks for the tests: a name -> its text; any other name is unknown.
SkinLookTexts LooksFrom(std::map<std::string, std::string, std::less<>> texts)
{
    return [texts = std::move(texts)](std::string_view name) -> std::optional<std::string> {
        const auto found = texts.find(name);
        if (found == texts.end()) {
            return std::nullopt;
        }
        return found->second;
    };
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
        // Looks are expanded in the own rules only, in their places.
        {"P\n/* Own rules */\nA\n/* look: x */\nB\n", "S\n", "P\nS\n/* Own rules */\nA\nX\nB\n"},
        {"/* look: x */\nP\n/* Own rules */\n", "/* look: x */\n",
         "/* look: x */\nP\n/* look: x */\n/* Own rules */\n"},
    };
    const SkinLookTexts looks = LooksFrom({{"x", "X\n"}});
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeSkinSheet(c.skin_sheet, c.shared_rules, looks, "Test"), c.loaded) << c.skin_sheet;
    }
}

TEST(SkinStore, LookLinesGiveWayToTheirLooksInOrder)
{
    const SkinLookTexts looks = LooksFrom({{"x", "X1\nX2\n"}, {"y-2", "Y\n"}, {"open", "Z"}, {"empty", ""}});
    struct Case {
        std::string_view own_rules;
        std::string_view expanded;
    };
    // own rules -> own rules with their looks
    const Case cases[] = {
        {"a\n/* look: x */\nb\n", "a\nX1\nX2\nb\n"},
        {"/* look: y-2 */\n/* look: x */\n/* look: y-2 */\n", "Y\nX1\nX2\nY\n"},
        // A look without a final line end, or a look line without one.
        {"/* look: open */\nb\n", "Z\nb\n"},
        {"a\n/* look: x */", "a\nX1\nX2\n"},
        {"a\n/* look: empty */\nb\n", "a\nb\n"},
        // Blanks around the line or the name are no matter.
        {"  /* look: x */ \t\r\n", "X1\nX2\n"},
        {"/* look:x*/\n", "X1\nX2\n"},
        // A look mentioned inside other text is no look line.
        {"a { } /* look: x */\n", "a { } /* look: x */\n"},
        {"/* A skin asks with\n   look: x\n*/\n", "/* A skin asks with\n   look: x\n*/\n"},
        {"/* looks: x */\n", "/* looks: x */\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandSkinLooks(c.own_rules, looks, "Test"), c.expanded) << c.own_rules;
    }
}

TEST(SkinStore, BadLookLinesFailNamingTheSkinAndTheLook)
{
    std::vector<std::string> asked;
    const SkinLookTexts looks = [&](std::string_view name) -> std::optional<std::string> {
        asked.emplace_back(name);
        if (name == "nests") {
            return "a\n  /* look: x */\n";
        }
        if (name == "x") {
            return "X\n";
        }
        return std::nullopt;
    };
    struct Case {
        std::string_view own_rules;
        std::string error;
    };
    const std::string not_a_look_line = R"(Skin "Ocean" has a look line that is not "/* look: NAME */": )";
    // own rules -> error
    const Case cases[] = {
        {"/* look: x */\n/* look: glosy-menus */\n", R"(Skin "Ocean" asks for the unknown look "glosy-menus")"},
        {"/* look: nests */\n", R"(Skin "Ocean": the look "nests" asks for another look, and looks do not nest)"},
        // Misspelt look lines, which would otherwise be comments that leave the look out.
        {"/* look: Glossy */\n", not_a_look_line + "/* look: Glossy */"},
        {"/* look: a b */\n", not_a_look_line + "/* look: a b */"},
        {"/* look: */\n", not_a_look_line + "/* look: */"},
        {"/* look: x */ a { }\n", not_a_look_line + "/* look: x */ a { }"},
        {"  /* look: x\n", not_a_look_line + "/* look: x"},
        {"/* look: ../skin_rules */\n", not_a_look_line + "/* look: ../skin_rules */"},
    };
    for (const Case& c : cases) {
        asked.clear();
        try {
            (void)ExpandSkinLooks(c.own_rules, looks, "Ocean");
            ADD_FAILURE() << "no error for " << c.own_rules;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), c.error);
        }
        // Only well-formed names are ever looked up: a name is part of a resource path.
        for (const std::string& name : asked) {
            EXPECT_TRUE(std::regex_match(name, std::regex("[a-z0-9-]+"))) << name;
        }
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

// The looks in the source tree: name -> text.
std::map<std::string, std::string, std::less<>> SourceLooks()
{
    std::map<std::string, std::string, std::less<>> looks;
    const std::string folder = std::string(SkinLooksPath);
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QUILLORA_SOURCE_DIR) /
                                                                 "src/resources/skins/looks")) {
        if (entry.path().extension() == ".css") {
            const std::string name = entry.path().stem().string();
            looks[name] = SourceText(folder + name + ".css");
        }
    }
    return looks;
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
    // Looks stand among the own rules and follow the same rule.
    for (const auto& [name, text] : SourceLooks()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(WithoutComments(text).find("@define-color"), std::string::npos);
        EXPECT_EQ(text.find(OwnRulesMarker), std::string::npos);
    }
}

// A look is shared: one that no skin or only one asks for is a skin's own rules in disguise.
TEST(SkinStore, EverySkinFindsItsLooksAndEveryLookServesTwoSkinsOrMore)
{
    const auto looks = SourceLooks();
    EXPECT_FALSE(looks.empty());
    std::map<std::string, int, std::less<>> uses;
    const SkinLookTexts counting = [&](std::string_view name) -> std::optional<std::string> {
        const auto found = looks.find(name);
        if (found == looks.end()) {
            return std::nullopt;
        }
        ++uses[found->first];
        return found->second;
    };
    for (const StoredSkin& skin : StoredSkins()) {
        SCOPED_TRACE(std::string(skin.resource_path));
        EXPECT_NO_THROW((void)ComposeSkinSheet(SourceText(skin.resource_path), SourceText(SharedSkinRulesPath),
                                               counting, skin.name));
    }
    for (const auto& [name, text] : looks) {
        EXPECT_GE(uses[name], 2) << name;
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
        const std::filesystem::path source =
            std::filesystem::path(QUILLORA_SOURCE_DIR) / "src/resources" / skin.resource_path.substr(prefix.size());
        EXPECT_TRUE(std::filesystem::is_regular_file(source)) << source;
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(StoredSkinCount));
    EXPECT_EQ(paths.size(), static_cast<size_t>(StoredSkinCount));
}

}  // namespace
}  // namespace quillora
