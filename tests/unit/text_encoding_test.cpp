// Decoding payload bytes (UTF-8 as it is, anything else as Windows-1252), writing Windows-1252
// and counting characters.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

TEST(TextEncoding, ValidUtf8)
{
    // bytes -> valid?
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", true},
        {"plain ASCII\r\n", true},
        {std::string("\0", 1), true},
        {"caf\xC3\xA9", true},
        {"\xE2\x82\xAC", true},      // euro sign
        {"\xF0\x9F\x98\x80", true},  // outside the BMP
        {"\xEF\xBB\xBF"
         "a",
         true},                      // byte-order mark, kept as text
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
        {"\xED\x9F\xBF", true},      // U+D7FF, just below the surrogates
        {"\xC3", false},             // cut off
        {"\xE2\x82", false},
        {"\xC3\x28", false},  // bad continuation
        {"\x80", false},      // lone continuation
        {"\xC0\xAF", false},  // overlong
        {"\xC1\xBF", false},
        {"\xE0\x80\xAF", false},
        {"\xF0\x80\x80\xAF", false},
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\xFF", false},
        {"caf\xE9", false},  // Windows-1252
    };
    for (const auto& [bytes, valid] : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        EXPECT_EQ(IsValidUtf8(bytes), valid);
    }
}

TEST(TextEncoding, Windows1252HighControlBlock)
{
    // 0x80 + i -> UTF-8; the five undefined bytes become the control characters of their value.
    const char* const expected[32] = {
        "\xE2\x82\xAC", "\xC2\x81",     "\xE2\x80\x9A", "\xC6\x92",     "\xE2\x80\x9E", "\xE2\x80\xA6", "\xE2\x80\xA0",
        "\xE2\x80\xA1", "\xCB\x86",     "\xE2\x80\xB0", "\xC5\xA0",     "\xE2\x80\xB9", "\xC5\x92",     "\xC2\x8D",
        "\xC5\xBD",     "\xC2\x8F",     "\xC2\x90",     "\xE2\x80\x98", "\xE2\x80\x99", "\xE2\x80\x9C", "\xE2\x80\x9D",
        "\xE2\x80\xA2", "\xE2\x80\x93", "\xE2\x80\x94", "\xCB\x9C",     "\xE2\x84\xA2", "\xC5\xA1",     "\xE2\x80\xBA",
        "\xC5\x93",     "\xC2\x9D",     "\xC5\xBE",     "\xC5\xB8"};
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(0x80 + i);
        EXPECT_EQ(Windows1252ToUtf8(std::string(1, static_cast<char>(0x80 + i))), expected[i]);
    }
}

TEST(TextEncoding, Windows1252OtherBytes)
{
    // bytes -> UTF-8
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"abc\r\n", "abc\r\n"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\x7F", "\x7F"},
        {"\xA0", "\xC2\xA0"},
        {"\xA9", "\xC2\xA9"},  // copyright sign
        {"\xE9", "\xC3\xA9"},
        {"\xFF", "\xC3\xBF"},
        {"S\xE3o Jo\xE3o", "S\xC3\xA3o Jo\xC3\xA3o"},
    };
    for (const auto& [bytes, utf8] : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        EXPECT_EQ(Windows1252ToUtf8(bytes), utf8);
    }
}

TEST(TextEncoding, Windows1252BothWays)
{
    // every byte, also the five undefined ones, and texts longer than one conversion buffer ->
    // the same bytes after a trip through UTF-8
    std::string every_byte;
    for (int byte = 0; byte < 256; ++byte) {
        every_byte += static_cast<char>(byte);
    }
    for (const std::string& bytes : {every_byte, std::string(5000, '\x80') + "\x81" + std::string(5000, '\xE9')}) {
        const std::string utf8 = Windows1252ToUtf8(bytes);
        EXPECT_EQ(Windows1252Utf8Size(bytes), utf8.size());
        char32_t unwritable = 0;
        EXPECT_EQ(Utf8ToWindows1252(utf8, unwritable), bytes);
    }

    // UTF-8 -> the first character that Windows-1252 lacks (U+FFFD for bytes that are not UTF-8)
    const std::vector<std::pair<std::string, char32_t>> unwritable_cases = {
        {"caf\xC3\xA9 \xC4\x80 \xF0\x9F\x98\x80", 0x100},
        {std::string(6000, 'a') + "\xF0\x9F\x98\x80", 0x1F600},
        {"\xC2\x80", 0x80},  // the C1 control, not the euro sign's byte
        {"ab\xC3", 0xFFFD},
        {"\xE9t\xE9", 0xFFFD},
    };
    for (const auto& [utf8, first] : unwritable_cases) {
        SCOPED_TRACE(::testing::PrintToString(utf8));
        char32_t unwritable = 0;
        EXPECT_EQ(Utf8ToWindows1252(utf8, unwritable), std::nullopt);
        EXPECT_EQ(unwritable, first);
    }
}

TEST(TextEncoding, PayloadTextIsDecodedAsAWhole)
{
    // bytes -> text
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},  // valid UTF-8 stays
        {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},              // Windows-1252
        // One invalid byte decides for the whole text: the UTF-8 pair is read as two characters.
        {"\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
        {"\xA9", "\xC2\xA9"},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        EXPECT_EQ(DecodePayloadText(bytes), text);
        EXPECT_TRUE(IsValidUtf8(DecodePayloadText(bytes)));
    }
}

TEST(TextEncoding, CharactersAreCountedNotBytes)
{
    // text -> characters
    const std::vector<std::pair<std::string, std::size_t>> lengths = {
        {"", 0}, {"abc", 3}, {"caf\xC3\xA9", 4}, {"\xE2\x82\xAC", 1}, {"\xF0\x9F\x98\x80!", 2},
    };
    for (const auto& [text, length] : lengths) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Utf8Length(text), length);
    }

    struct PrefixCase {
        std::string text;
        std::size_t count;
        std::string prefix;
    };
    // (text, count) -> prefix
    const std::vector<PrefixCase> prefixes = {
        {"abc", 0, ""},
        {"abc", 2, "ab"},
        {"abc", 10, "abc"},
        {"caf\xC3\xA9", 3, "caf"},
        {"caf\xC3\xA9", 4, "caf\xC3\xA9"},
        {"\xE2\x82\xACuro", 1, "\xE2\x82\xAC"},
        {"\xF0\x9F\x98\x80x", 1, "\xF0\x9F\x98\x80"},
        {"", 3, ""},
    };
    for (const PrefixCase& c : prefixes) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.count));
        EXPECT_EQ(Utf8Prefix(c.text, c.count), c.prefix);
    }
}

}  // namespace
}  // namespace quillora
