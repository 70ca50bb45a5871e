#include "menu/menu_model.hpp"

#include <gtest/gtest.h>

#include "menu/menu_labels.hpp"
#include "menu/menu_position.hpp"

namespace quillora {
namespace {

const char* const Example = "[GERAL]\r\nMENU_0=&Book\r\nMENU_1=&Help\r\n"
                            "[MENU]\r\nITENS_0=Home-@-Print-@-History-@-Exit\r\nITENS_1=About\r\n"
                            "[SUBMENUS]\r\nITENS-|0.2|=Back-@-Forward\r\n"
                            "[ACOES]\r\nMENUx0_0=WEBHOME()\r\nMENUx0_1=WEBPRINTPAGE()\r\nMENUx0_2_0=WEBBACK()\r\n"
                            "MENUx0_2_1=WEBNEXT()\r\nMENUx0_3=APPLICATIONEXIT()\r\nMENUx1_0=SHOWFORMABOUT()\r\n";

// The tree as one line: caption, "=name" when named, "*" when it has an action, children in ().
std::string Outline(const MenuEntry& entry)
{
    std::string text = entry.caption + (entry.name.empty() ? "" : "=" + entry.name) + (entry.has_action ? "*" : "");
    if (!entry.children.empty()) {
        text += "(";
        for (std::size_t n = 0; n < entry.children.size(); ++n) {
            text += (n == 0 ? "" : " ") + Outline(entry.children[n]);
        }
        text += ")";
    }
    return text;
}

std::string Built(const std::string& definition)
{
    return Outline(BuildMenuModel(ProfileText::Parse(definition)));
}

TEST(MenuModel, BuiltFromTheDefinition)
{
    struct Case {
        std::string definition;
        const char* outline;
    };
    // definition -> the menu bar's tree
    const Case cases[] = {
        {Example, "(&Book(Home=MENUx0_0* Print=MENUx0_1* History=MENUx0_2(Back=MENUx0_2_0* Forward=MENUx0_2_1*) "
                  "Exit=MENUx0_3*) &Help(About=MENUx1_0*))"},
        // Two separators in a row leave an empty caption between; "-" is still named and counted.
        {"[GERAL]\nMENU_0=F\n[MENU]\nITENS_0=Open-@--@-Exit\n[ACOES]\nMENUx0_2=APPLICATIONEXIT()\n",
         "(F(Open=MENUx0_0 =MENUx0_1 Exit=MENUx0_2*))"},
        {"[GERAL]\nMENU_0=F\n[MENU]\nITENS_0=Open-@---@-Exit-@-\n[ACOES]\nMENUx0_2=APPLICATIONEXIT()\n",
         "(F(Open=MENUx0_0 -=MENUx0_1 Exit=MENUx0_2*))"},
        // The number of menus is the number of keys in GERAL; MENU_2 is never read.
        {"[GERAL]\nMENU_0=A\nMENU_2=C\n", "(A )"},
        // An action under a top-level menu's name is never read; an empty action is none.
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=X\n[ACOES]\nMENUx0=WEBHOME()\nMENUx0_0=\"\"\n", "(A(X=MENUx0_0))"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Built(c.definition), c.outline) << c.definition;
    }
}

TEST(MenuModel, CaptionListsAreCutAtEverySeparator)
{
    using List = std::vector<std::string>;
    // value -> captions
    EXPECT_EQ(CutCaptionList(""), List{});
    EXPECT_EQ(CutCaptionList("A-@-"), List{"A"});
    EXPECT_EQ(CutCaptionList("A-@--@-B"), (List{"A", "", "B"}));
    EXPECT_EQ(CutCaptionList("-@-A"), (List{"", "A"}));
    EXPECT_EQ(CutCaptionList("Home-@---@--@-"), (List{"Home", "-", ""}));
}

TEST(MenuModel, ALongCaptionListIsReadOnlyTo2047Characters)
{
    std::string list;  // 409 pieces of seven characters, then "xyz": 2866 characters
    for (int n = 0; n < 409; ++n) {
        list += "abcd-@-";
    }
    list += "xyz";
    const auto bar = BuildMenuModel(ProfileText::Parse("[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=" + list + "\n"));
    const auto& items = bar.children.at(0).children;
    ASSERT_EQ(items.size(), 293u);  // 2047 = 292 * 7 + 3: the last piece is "abc"
    EXPECT_EQ(items.back().caption, "abc");
}

// A definition of `menus` menus, each with `items` empty items (an empty caption is an entry
// too), then `more` lines.
std::string Sized(int menus, int items, const std::string& more = "")
{
    std::string general = "[GERAL]\n";
    std::string lists = "[MENU]\n";
    for (int i = 0; i < menus; ++i) {
        general += "MENU_" + std::to_string(i) + "=M\n";
        std::string list;
        for (int j = 0; j < items; ++j) {
            list += "-@-";
        }
        lists += "ITENS_" + std::to_string(i) + "=" + list + "\n";
    }
    return general + lists + more;
}

std::string Overflows(const std::vector<MenuOverflow>& overflows)
{
    std::string text;
    for (const auto& o : overflows) {
        const char* bound = o.bound == MenuOverflow::Bound::Menus  ? "menus"
                            : o.bound == MenuOverflow::Bound::List ? "list"
                                                                   : "all";
        std::string owner;
        for (const int n : o.owner) {
            owner += (owner.empty() ? "" : ".") + std::to_string(n);
        }
        text += std::string(bound) + "[" + owner + "] " + std::to_string(o.built) + "/" + std::to_string(o.given) + " ";
    }
    return text;
}

std::size_t Count(const MenuEntry& entry)
{
    std::size_t count = entry.children.size();
    for (const auto& child : entry.children) {
        count += Count(child);
    }
    return count;
}

TEST(MenuModel, TheBuildStopsAtTheBounds)
{
    std::string list600;
    for (int n = 0; n < 600; ++n) {
        list600 += "-@-";
    }
    struct Case {
        std::string definition;
        std::size_t menus;    // built on the bar
        std::size_t entries;  // built in all
        const char* overflows;
    };
    // definition -> what is built, and each list cut short (bound[owner] built/given)
    const Case cases[] = {
        {Sized(100, 3), 100, 400, ""},
        {Sized(150, 0), 100, 100, "menus[] 100/150 "},
        {Sized(1, 500), 1, 501, ""},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=" + list600 + "\n", 1, 501, "list[0] 500/600 "},
        {Sized(1, 1, "[SUBMENUS]\nITENS-|0.0|=" + list600 + "\n"), 1, 502, "list[0.0] 500/600 "},
        // 20 menus, then 500 items each: the tenth menu gets the last 480 places.
        {Sized(20, 500), 20, 5000, "all[9] 480/500 "},
        // Full to the entry with nothing more to take; then one sub-item more finds no room.
        {Sized(10, 499), 10, 5000, ""},
        {Sized(10, 499, "[SUBMENUS]\nITENS-|9.498|=A\n"), 10, 5000, "all[9.498] 0/1 "},
        {Sized(150, 600), 100, 5000,
         "menus[] 100/150 list[0] 500/600 list[1] 500/600 list[2] 500/600 "
         "list[3] 500/600 list[4] 500/600 list[5] 500/600 list[6] 500/600 "
         "list[7] 500/600 list[8] 500/600 list[9] 500/600 all[9] 400/600 "},
    };
    for (const auto& c : cases) {
        const auto built = BuildBoundedMenu(ProfileText::Parse(c.definition));
        EXPECT_EQ(built.bar.children.size(), c.menus) << c.definition.substr(0, 200);
        EXPECT_EQ(Count(built.bar), c.entries) << c.definition.substr(0, 200);
        EXPECT_EQ(Overflows(built.overflows), c.overflows) << c.definition.substr(0, 200);
    }
    EXPECT_EQ(MenuOverflowWarning({}), "");
    EXPECT_EQ(MenuOverflowWarning(BuildBoundedMenu(ProfileText::Parse(Sized(150, 600))).overflows),
              "The custom menu holds more than the e-book shows (at most 100 menus, 500 entries in a menu or a "
              "sub-menu, 5000 entries in all): [GERAL] gives 150 menus, and 11 more cut short; the rest is left out");
    EXPECT_EQ(MenuOverflowWarning(BuildBoundedMenu(ProfileText::Parse(Sized(20, 500))).overflows),
              "The custom menu holds more than the e-book shows (at most 100 menus, 500 entries in a menu or a "
              "sub-menu, 5000 entries in all): the entries pass 5000 at ITENS_9; the rest is left out");
}

TEST(MenuModel, ActionsAreReadFromTheReaderAtTheClick)
{
    const auto text = ProfileText::Parse(Example);
    EXPECT_EQ(MenuItemAction(text, "MENUx0_1"), "WEBPRINTPAGE()");
    EXPECT_EQ(MenuItemAction(text, "menux0_1"), "WEBPRINTPAGE()");
    EXPECT_EQ(MenuItemAction(text, "MENUx0_2"), "");
}

TEST(MenuLabels, MarksBecomeGtkMnemonics)
{
    using Labels = std::vector<std::string>;
    // captions of one menu -> GTK labels
    EXPECT_EQ(MenuLabels({"&Book", "Tom && Jerry", "snake_case", "E&xit&", "a&b&c"}),
              (Labels{"_Book", "_Tom & Jerry", "_snake__case", "E_xit", "a_bc"}));
    // Automatic letters: word starts first, then any letter or digit; marked captions first.
    EXPECT_EQ(MenuLabels({"Print", "Print preview", "&Page setup", "-", "pp", "", "!?"}),
              (Labels{"P_rint", "Pr_int preview", "_Page setup", "", "pp", "", "!?"}));
    EXPECT_EQ(MenuLabels({"Open", "open", "2 pages"}), (Labels{"_Open", "o_pen", "_2 pages"}));
    EXPECT_EQ(PlainCaption("Save &as && _close&"), "Save as & _close");
}

TEST(MenuLabels, SeparatorsShowOnlyBetweenEntries)
{
    using Flags = std::vector<bool>;
    const bool S = true;
    const bool E = false;
    // which entries are separators -> which show
    EXPECT_EQ(ShownEntries({S, E, S, S, E, S}), (Flags{false, true, true, false, true, false}));
    EXPECT_EQ(ShownEntries({E, S, S, S}), (Flags{true, false, false, false}));
    EXPECT_EQ(ShownEntries({S}), Flags{false});
    EXPECT_EQ(ShownEntries({}), Flags{});
}

// The caption at `address`, or the text of the error that finding it raises.
std::string Found(MenuEntry& bar, const MenuAddress& address)
{
    try {
        return MenuEntryAt(bar, address).caption;
    } catch (const Error& error) {
        return error.what();
    }
}

TEST(MenuPosition, EntriesAreFoundByPositionWithTheToolkitsErrors)
{
    auto bar = BuildMenuModel(ProfileText::Parse(Example));
    bar.children.push_back({"", "Empty", false, false, {}});  // a menu that never had items
    struct Case {
        MenuAddress address;
        const char* found;
    };
    // address -> caption or error
    const Case cases[] = {
        {{0, 2, 1}, "Forward"},
        {{1, 0}, "About"},
        {{0, 4}, "List index out of bounds (4)"},
        {{0, -1}, "List index out of bounds (-1)"},
        {{3, 0}, "List index out of bounds (3)"},
        {{2, 0}, "Menu index out of range"},
        {{0, 0, 0}, "Menu index out of range"},  // Home never had sub-items
        {{}, "Menu index out of range"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Found(bar, c.address), c.found) << testing::PrintToString(c.address);
    }
    // Removing past the end is the menu's own error; a list emptied by removals still had items.
    auto& history = MenuEntryAt(bar, {0, 2});
    EXPECT_THROW(CheckMenuRemoval(history, 2), Error);
    EXPECT_NO_THROW(CheckMenuRemoval(history, 1));
    history.children.clear();
    EXPECT_EQ(Found(bar, {0, 2, 0}), "List index out of bounds (0)");
}

}  // namespace
}  // namespace quillora
