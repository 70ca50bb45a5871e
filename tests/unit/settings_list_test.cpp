// Cutting the payload text into the settings list, and reading and writing its lines.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "payload/settings_list.hpp"

namespace quillora {
namespace {

using Lines = std::vector<std::string>;

std::string ErrorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

struct LineCase {
    std::string text;
    Lines lines;
};

TEST(SettingsList, LineEnds)
{
    // text -> lines
    const std::vector<LineCase> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},  // CR CR LF: an empty line between
        {"a\n\rb", {"a", "", "b"}},    // LF CR is two line ends, not one
        {"a\r\n\r\n", {"a", ""}},      // only the last line end adds nothing
        {"\r\na", {"", "a"}},
        {" a \t", {" a \t"}},  // never trimmed
        {"x\r\n\r", {"x", ""}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_EQ(SettingsList::FromText(c.text).Lines(), c.lines);
    }
}

TEST(SettingsList, NulEndsTheText)
{
    // text -> lines
    const std::vector<LineCase> cases = {
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {std::string("a\r\n\0b", 5), {"a"}},
        {std::string("\0a\r\nb", 5), {}},
        {std::string("a\r\0\nb", 5), {"a"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_EQ(SettingsList::FromText(c.text).Lines(), c.lines);
        EXPECT_EQ(SettingsList::FromPayloadBytes(c.text).Lines(), c.lines);
    }
}

TEST(SettingsList, CrLfAfterTheLastSettingGives103Lines)
{
    std::string text;
    for (int i = 0; i < 103; ++i) {
        text += "value" + std::to_string(i) + "\r\n";
    }
    const SettingsList list = SettingsList::FromText(text);
    ASSERT_EQ(list.Count(), 103);
    EXPECT_EQ(list.Get(0), "value0");
    EXPECT_EQ(list.Get(102), "value102");

    // The menu definition follows the settings as further lines.
    const SettingsList with_menu = SettingsList::FromText(text + "[GERAL]\r\nx=1\r\n");
    ASSERT_EQ(with_menu.Count(), 105);
    EXPECT_EQ(with_menu.Get(103), "[GERAL]");
}

TEST(SettingsList, PayloadBytesAreDecodedToUtf8)
{
    // bytes -> lines
    const std::vector<LineCase> cases = {
        {"caf\xC3\xA9\r\n\xE2\x82\xAC", {"caf\xC3\xA9", "\xE2\x82\xAC"}},          // UTF-8 stays
        {"caf\xE9\r\n\x80\r\n\xA9", {"caf\xC3\xA9", "\xE2\x82\xAC", "\xC2\xA9"}},  // Windows-1252
        // One stray byte on a later line decides for every line, the earlier UTF-8 ones too;
        // every kind of line end still cuts the same.
        {"\xC3\xA9\r\r\n\x80\n\r\xE9", {"\xC3\x83\xC2\xA9", "", "\xE2\x82\xAC", "", "\xC3\xA9"}},
        // What follows a NUL has no say: the valid UTF-8 before it is not read as Windows-1252.
        {std::string("caf\xC3\xA9\0\xFF", 7), {"caf\xC3\xA9"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_EQ(SettingsList::FromPayloadBytes(c.text).Lines(), c.lines);
    }
}

TEST(SettingsList, IndexOutsideTheListIsAnError)
{
    SettingsList list = SettingsList::FromText("a\r\nb\r\nc\r\n");
    // index -> error text, for reading and for writing alike
    const std::vector<std::pair<int, std::string>> cases = {
        {-1, "List index out of bounds (-1)"},
        {3, "List index out of bounds (3)"},
        {4, "List index out of bounds (4)"},
        {102, "List index out of bounds (102)"},
        {INT_MIN, "List index out of bounds (-2147483648)"},
        {INT_MAX, "List index out of bounds (2147483647)"},
    };
    for (const auto& [at, error] : cases) {
        const int index = at;  // clang 14 cannot capture a structured binding
        SCOPED_TRACE(index);
        EXPECT_EQ(ErrorOf([&] { (void)list.Get(index); }), error);
        EXPECT_EQ(ErrorOf([&] { list.Set(index, "x"); }), error);
    }
    EXPECT_EQ(list.Lines(), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SettingsList().Count(), 0);
    EXPECT_EQ(ErrorOf([] { (void)SettingsList().Get(0); }), "List index out of bounds (0)");
}

TEST(SettingsList, SetReplacesOneLineOnly)
{
    SettingsList list = SettingsList::FromText("a\r\n0\r\nc");
    list.Set(1, "1");
    EXPECT_EQ(list.Lines(), (Lines{"a", "1", "c"}));
    EXPECT_EQ(list.Get(2), "c");
}

// The menu lines after the 103 settings are held apart from them; each is still a line of its own.
TEST(SettingsList, MenuLinesAreReadReplacedAndJoinedOneByOne)
{
    std::string settings;
    for (int i = 0; i < 103; ++i) {
        settings += "s\r\n";
    }
    const std::string menu = "caf\xE9\r\n\nx=\x80\r";  // Windows-1252, an empty line between
    const Lines decoded = {"caf\xC3\xA9", "", "x=\xE2\x82\xAC"};
    // (index, value) -> the menu lines after Set
    const std::vector<std::pair<int, Lines>> cases = {
        {103, {"longer than before", "", "x=\xE2\x82\xAC"}},
        {104, {"caf\xC3\xA9", "longer than before", "x=\xE2\x82\xAC"}},
        {105, {"caf\xC3\xA9", "", "longer than before"}},
    };
    for (const auto& [index, expected] : cases) {
        SCOPED_TRACE(index);
        SettingsList list = SettingsList::FromPayloadBytes(settings + menu);
        ASSERT_EQ(list.Count(), 106);
        EXPECT_EQ(ErrorOf([&] { (void)list.Get(106); }), "List index out of bounds (106)");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(list.Get(103 + i), decoded[static_cast<std::size_t>(i)]);
        }
        list.Set(index, "longer than before");
        list.Set(index, "shorter");  // shrinking after growing moves the later lines back
        list.Set(index, "longer than before");
        list.Append("[GERAL]");
        const Lines lines = list.Lines();
        EXPECT_EQ(Lines(lines.begin() + 103, lines.end() - 1), expected);
        EXPECT_EQ(lines.back(), "[GERAL]");
        EXPECT_EQ(SettingsList::FromText(list.ToText()).Lines(), lines);
    }
}

TEST(SettingsList, ToTextEndsEveryLineWithCrLfAndReadsBackTheSame)
{
    const SettingsList list = SettingsList::FromText("a\n\nb\rc");
    EXPECT_EQ(list.ToText(), "a\r\n\r\nb\r\nc\r\n");
    EXPECT_EQ(SettingsList::FromText(list.ToText()).Lines(), list.Lines());
    EXPECT_EQ(SettingsList().ToText(), "");
}

}  // namespace
}  // namespace quillora
