#include "menu/profile_reader.hpp"

#include <gtest/gtest.h>

#include "support/temp_files.hpp"

namespace quillora {
namespace {

TEST(ProfileReader, ValuesAsTheMenuReadsThem)
{
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* value;
    };
    // file text, section, key -> value
    const Case cases[] = {
        {"[GERAL]\nMENU_0=Book\n", "geral", "menu_0", "Book"},  // names in any case
        {"[ geral ]\r\n  Menu_0 \t=\t Book of  days \r\n", "GERAL", "MENU_0", "Book of  days"},
        {"[A]\rK=1\rL=2\r", "A", "L", "2"},       // lone CR ends a line
        {"[A]\nK=a=b==c\n", "A", "K", "a=b==c"},  // the first "=" splits
        {"[A]\nK=\"quoted\"\n", "A", "K", "quoted"},
        {"[A]\nK='quoted'\n", "A", "K", "quoted"},
        {"[A]\nK=\"'x'\"\n", "A", "K", "'x'"},  // one pair only
        {"[A]\nK=\"open\n", "A", "K", "\"open"},
        {"[A]\nK=\"mixed'\n", "A", "K", "\"mixed'"},
        {"[A]\nK=\"\n", "A", "K", "\""},  // a lone quote stays
        {"[A]\nK= \" padded \" \n", "A", "K", " padded "},
        {"[A]\nK=first\nk=second\n", "A", "K", "first"},            // first key wins
        {"[A]\nK=first\n[B]\n[a]\nK=second\n", "A", "K", "first"},  // first section wins
        {"[A]\n;K=comment\n", "A", "K", ""},
        {"[A] trailing\nK=v\n", "A", "K", "v"},
        {"K=v\n[A]\n", "A", "K", ""},           // before any section
        {"[A]\nK=v\n[B\nL=w\n", "A", "L", ""},  // a broken header ends A
        {"[A]\nK=v\n", "B", "K", ""},
        {"", "A", "K", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileText::Parse(c.text).Value(c.section, c.key), c.value) << c.text;
    }
}

TEST(ProfileReader, KeyNamesInFileOrderEachOnce)
{
    using Names = std::vector<std::string>;
    const auto text =
        ProfileText::Parse("[G]\nMENU_1=b\n\nMENU_0=a\nmenu_1=c\nno equals\n=x\n;MENU_9=d\n[H]\nZ=1\n[g]\nMENU_7=e\n");
    EXPECT_EQ(text.KeyNames("g"), (Names{"MENU_1", "MENU_0"}));
    EXPECT_EQ(text.KeyNames("missing"), Names{});
}

TEST(ProfileReader, ValuesAreCutAt2047CharactersNeverInsideOne)
{
    // value -> what is read (in characters and bytes)
    const std::string ascii(2100, 'x');
    const auto read = ProfileText::Parse("[A]\nK=" + ascii + "\n").Value("A", "K");
    EXPECT_EQ(read, ascii.substr(0, 2047));

    std::string letters;  // "é" is two bytes: 2047 of them are 4094 bytes
    for (int i = 0; i < 2048; ++i) {
        letters += "é";
    }
    const auto cut = ProfileText::Parse("[A]\nK='" + letters + "'\n").Value("A", "K");
    EXPECT_EQ(cut, letters.substr(0, 2 * 2047));
}

TEST(ProfileReader, NotesForTheLinesItPassesOver)
{
    const auto text =
        ProfileText::Parse("X=1\n[A]\nK=1\nk=2\nplain\n=v\n[B\n[a]\n[C]\nL=" + std::string(2048, 'y') + "\n", 10);
    struct Expected {
        ProfileNoteKind kind;
        int line;
        int earlier_line;
    };
    // line of the file -> the note about it
    const Expected expected[] = {
        {ProfileNoteKind::KeyOutsideSection, 10, 0}, {ProfileNoteKind::RepeatedKey, 13, 12},
        {ProfileNoteKind::NotAKeyLine, 14, 0},       {ProfileNoteKind::EmptyKeyName, 15, 0},
        {ProfileNoteKind::UnclosedHeader, 16, 0},    {ProfileNoteKind::RepeatedSection, 17, 11},
        {ProfileNoteKind::ValueCut, 19, 0},
    };
    ASSERT_EQ(text.Notes().size(), std::size(expected));
    for (std::size_t n = 0; n < std::size(expected); ++n) {
        EXPECT_EQ(text.Notes()[n].kind, expected[n].kind) << n;
        EXPECT_EQ(text.Notes()[n].line, expected[n].line) << n;
        EXPECT_EQ(text.Notes()[n].earlier_line, expected[n].earlier_line) << n;
    }
    EXPECT_EQ(text.Notes().back().length, 2048u);
}

TEST(ProfileReader, TheFileIsReadAfreshAtEachQuestion)
{
    test::TempDir folder;
    const ProfileFile file(folder.File("menu.dmt"));
    EXPECT_EQ(file.Value("ACOES", "MENUx0_0"), "");  // no file yet: empty, no error
    folder.Write("menu.dmt", "[ACOES]\r\nMENUx0_0=WEBHOME()\r\n");
    EXPECT_EQ(file.Value("ACOES", "MENUx0_0"), "WEBHOME()");
    folder.Write("menu.dmt", "[ACOES]\r\nMENUx0_1=WEBBACK()\r\n");
    EXPECT_EQ(file.Value("ACOES", "MENUx0_0"), "");
    EXPECT_EQ(file.KeyNames("ACOES"), std::vector<std::string>{"MENUx0_1"});
}

}  // namespace
}  // namespace quillora
