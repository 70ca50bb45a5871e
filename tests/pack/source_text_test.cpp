#include "source_text.hpp"

#include <gtest/gtest.h>

#include "payload/setting_index.hpp"

namespace quillora::pack {
namespace {

struct Parsed {
    BookSourceText source;
    std::string problems;
};

Parsed Parse(const std::string& text)
{
    Diagnostics diagnostics;
    Parsed parsed;
    parsed.source = ParseBookSource(text, "book.conf", diagnostics);
    parsed.problems = diagnostics.FormatAll();
    return parsed;
}

// The value of the one setting on the one line of `line`.
std::string ValueOf(const std::string& line)
{
    const auto parsed = Parse(line);
    EXPECT_EQ(parsed.problems, "") << line;
    EXPECT_EQ(parsed.source.settings.size(), 1u) << line;
    return parsed.source.settings.empty() ? "<none>" : parsed.source.settings[0].value;
}

TEST(SourceText, ValuesAreTrimmedUnlessQuoted)
{
    struct Case {
        const char* line;
        const char* value;
    };
    // line -> value
    const Case cases[] = {
        {"title = Atlas", "Atlas"},
        {"title=Atlas", "Atlas"},
        {"\ttitle \t=\t two  words \t", "two  words"},
        {"title = \"  padded  \"", "  padded  "},
        {"title = \"\"", ""},
        {"title =", ""},
        {"title =    ", ""},
        {"title = \"\"quoted\"\"", "\"quoted\""},
        {"title = a = b", "a = b"},
        {"title = # not a comment", "# not a comment"},
        {"title = say \"hi\"", "say \"hi\""},
        {"title = \"say \"hi\"\"", "say \"hi\""},
        {"title = Atlas\r", "Atlas"},
        {"title = Ålesund – 北", "Ålesund – 北"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueOf(c.line), c.value) << c.line;
    }
}

TEST(SourceText, SourceValueReadsBackUnchanged)
{
    // value -> the source form of it reads back as the same value
    const std::string values[] = {"", " a", "a ", "\t", "\"x\"", "\"", "plain", "a\"b", "a \"b\"", "#hash", " both "};
    for (const auto& value : values) {
        EXPECT_EQ(ValueOf("title = " + SourceValue(value)), value) << '[' << value << ']';
    }
    EXPECT_EQ(SourceValue("plain text"), "plain text");
    EXPECT_EQ(SourceValue(""), "\"\"");
}

TEST(SourceText, CommentsBlankLinesAndAnyOrder)
{
    const auto parsed = Parse("# a comment\n\n   # indented comment\nwindow_width = 900\ntitle = T\n");
    EXPECT_EQ(parsed.problems, "");
    ASSERT_EQ(parsed.source.settings.size(), 2u);
    EXPECT_EQ(parsed.source.settings[0].index, setting::window_width);
    EXPECT_EQ(parsed.source.settings[0].line, 4);
    EXPECT_EQ(parsed.source.settings[1].index, setting::title);
    EXPECT_FALSE(parsed.source.has_menu);
}

TEST(SourceText, EveryProblemIsReportedWithItsLine)
{
    const auto parsed = Parse("titel = A\n"               // 1: misspelt
                              "title = B\n"               // 2
                              "title = C\n"               // 3: repeated
                              "about_title = \"open\n"    // 4: unterminated quote
                              "just words\n"              // 5: no '='
                              "[GERAL]\n"                 // 6: a menu section before the marker
                              " = value\n"                // 7: no name
                              "about_email = \xC3\x28\n"  // 8: not UTF-8
                              "about_version = a\x01z\n"  // 9: control character
                              "about_app_name = a\rb\n"   // 10: a lone CR
                              "Title = D\n");             // 11: names are written in small letters
    EXPECT_EQ(parsed.problems,
              "book.conf:1: setting titel: no such setting (did you mean title?)\n"
              "book.conf:3: setting title: set twice (first on line 2)\n"
              "book.conf:4: setting about_title: a value that starts with a double quote must end with one\n"
              "book.conf:5: expected 'name = value', a '#' comment or the line [[menu]]\n"
              "book.conf:6: expected 'name = value', a '#' comment or the line [[menu]] (menu sections go below the "
              "[[menu]] line)\n"
              "book.conf:7: expected a setting name before '='\n"
              "book.conf:8: the line is not valid UTF-8 text\n"
              "book.conf:9: the line holds control character 1\n"
              "book.conf:10: the line holds a carriage return that does not end it\n"
              "book.conf:11: setting Title: no such setting (did you mean title?)\n");
    ASSERT_EQ(parsed.source.settings.size(), 1u);
    EXPECT_EQ(parsed.source.settings[0].value, "B");
}

TEST(SourceText, ABinaryFileGivesOneMessage)
{
    const auto parsed = Parse(std::string("title = x\n\x7F"
                                          "ELF\0\x01\xFF\xFE\n\n\x80",
                                          21));
    EXPECT_EQ(parsed.problems, "book.conf:2: the file holds a NUL byte; a book source is a text file\n");
    EXPECT_TRUE(parsed.source.settings.empty());
}

TEST(SourceText, UnknownNameFarFromAnySettingHasNoHint)
{
    EXPECT_EQ(Parse("colour_of_the_moon = blue\n").problems,
              "book.conf:1: setting colour_of_the_moon: no such setting\n");
}

TEST(SourceText, LinesBelowTheMenuMarkerAreKeptAsWritten)
{
    const auto parsed = Parse("title = T\n"
                              "[[Menu]]\n"
                              "[GERAL]\n"
                              "  MENU_0 = &Book  \n"
                              "\n"
                              "# not a comment down here\n"
                              "title = also just a menu line\r\n"
                              "\n");
    EXPECT_EQ(parsed.problems, "");
    EXPECT_TRUE(parsed.source.has_menu);
    EXPECT_EQ(parsed.source.menu_marker_line, 2);
    ASSERT_EQ(parsed.source.menu.size(), 6u);
    EXPECT_EQ(parsed.source.menu[0].text, "[GERAL]");
    EXPECT_EQ(parsed.source.menu[0].line, 3);
    EXPECT_EQ(parsed.source.menu[1].text, "  MENU_0 = &Book  ");
    EXPECT_EQ(parsed.source.menu[2].text, "");
    EXPECT_EQ(parsed.source.menu[3].text, "# not a comment down here");
    EXPECT_EQ(parsed.source.menu[4].text, "title = also just a menu line");
    EXPECT_EQ(parsed.source.menu[5].text, "");
    EXPECT_EQ(parsed.source.settings.size(), 1u);
}

TEST(SourceText, ByteOrderMarkAndLineEnds)
{
    // input -> lines
    EXPECT_EQ(SplitSourceLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitSourceLines("a"), std::vector<std::string>{"a"});
    EXPECT_EQ(SplitSourceLines("a\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(SplitSourceLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSourceLines("a\n\n"), (std::vector<std::string>{"a", ""}));

    const auto parsed = Parse("\xEF\xBB\xBFtitle = T\n");
    EXPECT_EQ(parsed.problems, "");
    ASSERT_EQ(parsed.source.settings.size(), 1u);
    EXPECT_EQ(parsed.source.settings[0].index, setting::title);
}

}  // namespace
}  // namespace quillora::pack
