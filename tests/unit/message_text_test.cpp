#include "appearance/message_text.hpp"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace quillora {
namespace {

// Length of the longest stretch without a line end.
std::size_t LongestParagraph(const std::string& text)
{
    std::size_t longest = 0;
    std::size_t run = 0;
    for (char c : text) {
        run = (c == '\n' || c == '\r') ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST(WithParagraphBreaks, CutsOnlyTooLongStretchesWhereWrappingCouldBreak)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    // text -> laid out text, with paragraphs of at most 4 bytes
    const Case cases[] = {
        {"", ""},
        {"abcd", "abcd"},                                // exactly the limit
        {"ab\ncd\r\nef", "ab\ncd\r\nef"},                // line ends of every kind start a paragraph
        {"ab cdef", "ab\ncdef"},                         // the blank becomes the line end
        {"a b cdefg", "a b\ncdef\ng"},                   // the last blank within the limit
        {" abcdef", " abc\ndef"},                        // a leading blank is no place to break
        {"abcdefghij", "abcd\nefgh\nij"},                // no blank: a line end is inserted
        {"ab\xC3\xA9\xC3\xA9", "ab\xC3\xA9\n\xC3\xA9"},  // never inside a character
        {"abc\xE2\x82\xAC", "abc\n\xE2\x82\xAC"},
        {"\x80\x80\x80\x80\x80\x80", "\x80\x80\x80\x80\n\x80\x80"},  // not UTF-8: bytes
    };
    for (const Case& c : cases) EXPECT_EQ(WithParagraphBreaks(c.text, 4), c.expected) << c.text;
}

TEST(WithParagraphBreaks, AMegabyteMessageKeepsItsCharactersInShortParagraphs)
{
    // 1 MB of words -> every paragraph within the limit, blanks turned into line ends only.
    std::string text;
    while (text.size() < 1'000'000) text += "palavra ";
    const std::string laid_out = WithParagraphBreaks(text);
    EXPECT_LE(LongestParagraph(laid_out), MaxMessageParagraph);
    ASSERT_EQ(laid_out.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (laid_out[i] != text[i]) {
            ASSERT_TRUE(text[i] == ' ' && laid_out[i] == '\n') << i;
        }
    }
}

}  // namespace
}  // namespace quillora
