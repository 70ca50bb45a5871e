#include "menu_check.hpp"

#include <gtest/gtest.h>

#include "source_text.hpp"

namespace quillora::pack {
namespace {

// The problems of a menu definition whose first line is line 1 of the file.
std::string Problems(const std::string& definition)
{
    std::vector<SourceMenuLine> lines;
    int number = 0;
    for (const auto& text : SplitSourceLines(definition)) {
        lines.push_back({++number, text});
    }
    Diagnostics diagnostics;
    CheckMenuDefinition(lines, "book.conf", diagnostics);
    return diagnostics.FormatAll();
}

const char* const WellFormed = "[GERAL]\n"
                               "MENU_0=&Book\n"
                               "MENU_1=&Help\n"
                               "[MENU]\n"
                               "ITENS_0=Home-@-Print-@-History-@-Exit\n"
                               "ITENS_1=About\n"
                               "[SUBMENUS]\n"
                               "ITENS-|0.2|=Back-@-Forward\n"
                               "[ACOES]\n"
                               "MENUx0_0=WEBHOME()\n"
                               "MENUx0_1=WEBPRINTPAGE()\n"
                               "MENUx0_2_0=WEBBACK()\n"
                               "MENUx0_2_1=WEBNEXT()\n"
                               "MENUx0_3=APPLICATIONEXIT()\n"
                               "MENUx1_0=SHOWFORMABOUT()\n";

TEST(MenuCheck, AWellFormedDefinitionHasNoProblems)
{
    EXPECT_EQ(Problems(WellFormed), "");
    // Letter case of names, blanks around "=", quotes, blank lines and ';' comments are the
    // reader's business.
    EXPECT_EQ(Problems("; the menu\n\n[geral]\n menu_0 = \"Book\" \n[Menu]\nitens_0 = 'A-@-B'\n"
                       "[acoes]\nmenux0_1 = webhome()\n"),
              "");
    EXPECT_EQ(Problems(""), "");
}

TEST(MenuCheck, ProblemsWithTheirLines)
{
    struct Case {
        const char* definition;
        const char* problems;
    };
    // definition -> exactly the problems reported
    const Case cases[] = {
        {"[GERAL]\nMENU_0=A\nMENU_2=C\n",
         "book.conf:1: menu: [GERAL] has no MENU_1 (menus are numbered from MENU_0 without gaps)\n"
         "book.conf:3: menu: MENU_2 is never read: with 2 keys in [GERAL] the menus are MENU_0 to MENU_1\n"},
        {"[GERAL]\nMENU_0=A\nTitle=B\n",
         "book.conf:1: menu: [GERAL] has no MENU_1 (menus are numbered from MENU_0 without gaps)\n"
         "book.conf:3: menu: key Title in [GERAL] is not MENU_0, MENU_1, ...\n"},
        {"[GERAL]\nMENU_00=A\n",
         "book.conf:1: menu: [GERAL] has no MENU_0 (menus are numbered from MENU_0 without gaps)\n"
         "book.conf:2: menu: key MENU_00 in [GERAL] is not MENU_0, MENU_1, ...\n"},
        {"[GERAL]\nMENU_0=A\nmenu_0=B\n", "book.conf:3: menu: menu_0 is given twice in [GERAL] (first on line 2)\n"},
        {"[GERAL]\nMENU_0=\n", "book.conf:2: warning: menu: MENU_0 gives its menu an empty caption\n"},
        {"[GERAL]\nMENU_0=A\n[geral]\n", "book.conf:3: menu: section [GERAL] is given twice (first on line 1)\n"},
        {"[GERAL\n", "book.conf:1: menu: a section header ends with ']'\n"},
        {"MENU_0=A\n[GERAL]\nMENU_0=A\n",
         "book.conf:1: warning: menu: KEY=value line before the first section; the menu never reads it\n"},
        {"[EXTRAS]\nA=B\n", "book.conf:1: warning: menu: unknown section [EXTRAS]; the menu reads [GERAL], [MENU], "
                            "[SUBMENUS] and [ACOES]\n"},
        {"[GERAL]\nMENU_0=A\n; MENU_1=Old menu\n", ""},  // a ';' line is a comment, "=" or not
        {"[GERAL]\nMENU_0=A\n=B\n",
         "book.conf:3: warning: menu: the line has no key before '='; the menu never reads it\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=\n[SUBMENUS]\nITENS-|0.0|=\n",
         "book.conf:4: warning: menu: ITENS_0 gives its menu no entries: the caption list is empty\n"
         "book.conf:6: warning: menu: ITENS-|0.0| is never read: there is no item MENUx0_0\n"},
        {"[GERAL]\nMENU_0=A\njust text\n",
         "book.conf:3: warning: menu: the line is neither a [SECTION] nor a KEY=value line; the menu never reads it\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_1=X\nITEMS_0=Y\n",
         "book.conf:4: warning: menu: ITENS_1 is never read: [GERAL] has no MENU_1\n"
         "book.conf:5: warning: menu: key ITEMS_0 in [MENU] is not ITENS_0, ITENS_1, ...; the menu never reads it\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=X-@-Y\n[SUBMENUS]\nITENS-|0.2|=P\nITENS-0.1=Q\n",
         "book.conf:6: warning: menu: ITENS-|0.2| is never read: there is no item MENUx0_2\n"
         "book.conf:7: warning: menu: key ITENS-0.1 in [SUBMENUS] is not ITENS-|i.j|; the menu never reads it\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=X-@-Y-@-\n[SUBMENUS]\nITENS-|0.1|=P\n[ACOES]\n"
         "MENUx0_1=WEBHOME()\nMENUx0_2=WEBHOME()\nMENUx0_1_0=WEBBACK()\nMENUx0_1_1=WEBBACK()\nMENUx0=WEBHOME()\n",
         "book.conf:9: warning: menu: MENUx0_2 is never read: there is no item MENUx0_2\n"
         "book.conf:11: warning: menu: MENUx0_1_1 is never read: there is no item MENUx0_1_1\n"
         "book.conf:12: warning: menu: key MENUx0 in [ACOES] is not an item name such as MENUx0_1 or MENUx0_1_2; the "
         "menu never reads it\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=X\n[ACOES]\nMENUx0_0=WEBHOME-@-MESSAGE(\"a\")\n",
         "book.conf:6: warning: menu: unknown command WEBHOME (did you mean WEBHOME()?) in the action of MENUx0_0; the "
         "e-book passes over it\n"
         "book.conf:6: warning: menu: unknown command MESSAGE(\"A\") in the action of MENUx0_0; the e-book passes over "
         "it\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problems(c.definition), c.problems) << c.definition;
    }
}

std::string Repeated(std::string_view piece, int times)
{
    std::string text;
    for (int n = 0; n < times; ++n) {
        text += piece;
    }
    return text;
}

TEST(MenuCheck, ValuesLongerThanTheReaderTakes)
{
    // Caption lists of short captions, so that only the length of the value is at stake.
    const std::string fits = Repeated("abcd-@-", 292) + "xyz";  // 2047 characters
    const std::string cut = fits + "w";
    const std::string menu = "[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=";
    EXPECT_EQ(Problems(menu + fits + "\n"), "");
    EXPECT_EQ(Problems(menu + "\"" + fits + "\"\n"), "");  // the quotes are not counted
    EXPECT_EQ(Problems(menu + cut + "\n"),
              "book.conf:4: menu: the value of ITENS_0 is 2048 characters long; the menu reads only the first 2047\n");
    // Characters, not bytes: 2047 two-byte letters fit.
    EXPECT_EQ(Problems(menu + Repeated("éé-@-", 409) + "éé\n"), "");
}

// `menus` menus of `items` empty items each: GERAL from line 1, MENU (when there are items)
// from line menus + 2.
std::string Sized(int menus, int items)
{
    std::string general = "[GERAL]\n";
    std::string lists = "[MENU]\n";
    for (int i = 0; i < menus; ++i) {
        general += "MENU_" + std::to_string(i) + "=M\n";
        lists += "ITENS_" + std::to_string(i) + "=" + Repeated("-@-", items) + "\n";
    }
    return items == 0 ? general : general + lists;
}

TEST(MenuCheck, MenusPastTheBoundsAreRefusedAndOverlongCaptionsWarned)
{
    struct Case {
        std::string definition;
        const char* problems;
    };
    // definition -> exactly the problems reported
    const Case cases[] = {
        {Sized(100, 49), ""},
        {Sized(101, 0), "book.conf:102: menu: [GERAL] has 101 keys: the menu bar holds at most 100 menus\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=" + Repeated("-@-", 500) + "\n", ""},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=" + Repeated("-@-", 501) + "\n",
         "book.conf:4: menu: ITENS_0 gives 501 items: a menu holds at most 500\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=X\n[SUBMENUS]\nITENS-|0.0|=" + Repeated("-@-", 501) + "\n",
         "book.conf:6: menu: ITENS-|0.0| gives 501 sub-items: an item holds at most 500\n"},
        // 10 menus and 4990 items fill the menu to the entry; ten more do not fit.
        {Sized(10, 499), ""},
        {Sized(10, 500),
         "book.conf:22: menu: ITENS_9 takes the menu past 5000 entries (menus, items and sub-items together), "
         "the most the e-book builds\n"},
        // Past the bounds, the keys of the entries left out are not "never read" on top.
        {Sized(101, 0) + "[MENU]\nITENS_100=X\n[ACOES]\nMENUx100_0=WEBHOME()\n",
         "book.conf:102: menu: [GERAL] has 101 keys: the menu bar holds at most 100 menus\n"},
        // Captions are counted in characters as shown: marks do not count.
        {"[GERAL]\nMENU_0=&" + std::string(100, 'x') + "\n", ""},
        {"[GERAL]\nMENU_0=" + std::string(101, 'x') + "\n",
         "book.conf:2: warning: menu: the caption of MENU_0 is 101 characters long; the menu shows about the "
         "first 100, then '…'\n"},
        {"[GERAL]\nMENU_0=A\n[MENU]\nITENS_0=B-@-" + Repeated("é", 150) +
             "\n[SUBMENUS]\nITENS-|0.1|=" + std::string(2047, 'y') + "\n",
         "book.conf:4: warning: menu: the caption of MENUx0_1 is 150 characters long; the menu shows about the "
         "first 100, then '…'\n"
         "book.conf:6: warning: menu: the caption of MENUx0_1_0 is 2047 characters long; the menu shows about the "
         "first 100, then '…'\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problems(c.definition), c.problems) << c.definition.substr(0, 300);
    }
}

}  // namespace
}  // namespace quillora::pack
