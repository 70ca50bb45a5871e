#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/action_text.hpp"

namespace quillora {
namespace {

using Commands = std::vector<std::string>;

TEST(ActionText, SplitCommandsCutsAtEverySeparator)
{
    struct Case {
        const char* action;
        Commands expected;
    };
    // action -> commands
    const Case cases[] = {
        {"", {}},
        {"   ", {"   "}},
        {"WEBHOME()-@-", {"WEBHOME()"}},
        {"-@-WEBHOME()", {"", "WEBHOME()"}},
        {"WEBHOME()-@--@-WEBBACK()", {"WEBHOME()", "", "WEBBACK()"}},
        // Line breaks separate nothing; the separator is matched exactly, left to right.
        {"A\nB-@-C", {"A\nB", "C"}},
        {"A-@@-B-@--C", {"A-@@-B", "-C"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommands(c.action), c.expected) << c.action;
    }
}

TEST(ActionText, CleanCommandTrimsCharactersOutside33To126AndKeeps255)
{
    const std::string long_tail(300, 'x');
    struct Case {
        std::string command;
        std::string expected;
    };
    // command -> cleaned
    const Case cases[] = {
        {"  webhome()  ", "webhome()"},
        {"\t\r\nA B\x7f", "A B"},
        {" \x01\x1f ", ""},
        // Accented letters count as outside the range at the ends, whole, but stay inside.
        {"MESSAGE \"Olá\"==\"Café\"é", "MESSAGE \"Olá\"==\"Café\""},
        {"é€ A", "A"},
        // 255 characters counted after the leading blanks, then trailing blanks dropped.
        {"   " + long_tail, std::string(255, 'x')},
        {std::string(254, 'x') + " y", std::string(254, 'x')},
        // A two-byte character counts once and is never cut in half.
        {std::string(254, 'x') + "éz", std::string(254, 'x')},
        {"é" + std::string(253, 'x') + "ézz", std::string(253, 'x') + "éz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CleanCommand(c.command), c.expected) << c.command;
    }
}

TEST(ActionText, NthItemCutsAtTheSeparatorAndAtLineBreaks)
{
    struct Case {
        int n;
        const char* separator;
        std::string text;
        const char* expected;
    };
    // (n, separator, text) -> item
    const Case cases[] = {
        {2, "_", "1__2", ""},
        {3, "_", "1__2", "2"},
        {3, "_", "1_2_", ""},
        {2, "_", "1_2_", "2"},
        {1, "==", "", ""},
        {1, "==", "==x", ""},
        // The separator's letters match in any case.
        {2, "ab", "xABy", "y"},
        // CR, LF and CR LF all cut; a break at the very end opens no item; inner empty ones count.
        {2, " ", "a\r\nb", "b"},
        {3, " ", "a\r\rb", "b"},
        {2, " ", "a\n\nb", ""},
        {2, " ", "a\r\n", ""},
        {1, " ", "WEBHOME()\nx", "WEBHOME()"},
        // A NUL ends the text.
        {2, "_", std::string("a\0_b", 4), ""},
        {1, "_", std::string("a\0b", 3), "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NthItem(c.n, c.separator, c.text), c.expected) << c.n << " " << c.text;
    }
}

TEST(ActionText, CommandWordAndQuotedParameters)
{
    struct Case {
        const char* command;
        const char* word;
        const char* p1;
        const char* p2;
    };
    // cleaned command -> word, parameter 1, parameter 2
    const Case cases[] = {
        {"webhome() now", "WEBHOME()", "webhome() now", ""},
        {"MESSAGE \"A\"==\"B\"", "MESSAGE", "A", "B"},
        {"MESSAGE A==B", "MESSAGE", "MESSAGE A", "B"},
        {"MESSAGE \"A\"", "MESSAGE", "A", ""},
        {"MESSAGE \"A==B\"==\"C\"", "MESSAGE", "", ""},
        {"MESSAGE \"Note\" == \"Saved\"", "MESSAGE", "Note", "Saved"},
        {"MESSAGE \"say \"hi\"\"==\"abc", "MESSAGE", "say \"hi\"", ""},
        // Only ASCII letters change case.
        {"méssage \"é\"", "MéSSAGE", "é", ""},
        // A line break cuts fields too, wherever it stands.
        {"MESSAGE\n\"A\"==\"B\"", "MESSAGE", "MESSAGE", "A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandWord(c.command), c.word) << c.command;
        EXPECT_EQ(QuotedParameter(1, c.command), c.p1) << c.command;
        EXPECT_EQ(QuotedParameter(2, c.command), c.p2) << c.command;
    }
}

TEST(ActionText, ACutThatRemovesTheClosingQuoteEmptiesTheLastParameter)
{
    const std::string text(250, 'x');
    const std::string command = "   MESSAGE \"A\"==\"" + text + "\"";
    const std::string cleaned = CleanCommand(command);
    EXPECT_EQ(QuotedParameter(1, cleaned), "A");
    EXPECT_EQ(QuotedParameter(2, cleaned), "");
}

}  // namespace
}  // namespace quillora
