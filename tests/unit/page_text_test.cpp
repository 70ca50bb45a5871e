// What the book search reads of a page: its title and visible text, as a browser decodes them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/page_text.hpp"

namespace quillora {
namespace {

TEST(PageText, TitleAndVisibleText)
{
    struct Case {
        const char* what;
        std::string html;
        std::string title, body;
    };
    // page -> title, body
    const std::vector<Case> cases = {
        {"entities decoded", "<title>Fish &amp; Chips</title><p>caf&eacute; &#8364;5 &lt;b&gt;&nbsp;x",
         "Fish & Chips", "caf\xC3\xA9 \xE2\x82\xAC" "5 <b>\xC2\xA0x"},
        {"scripts, styles and the head left out",
         "<html><head><style>p{color:red}</style><script>var hidden=1;</script><title>T</title>"
         "<meta name=keywords content=secret></head><body><script>alert('no')</script>"
         "<p>seen</p><noscript>js off</noscript></body></html>",
         "T", "seen"},
        {"blocks part words, inline elements do not",
         "<p>one</p><p>two<br>three</p><div>four<b>five</b>six</div><td>a</td><td>b</td>",
         "", "one two three fourfivesix a b"},
        {"white space collapsed", "<title>\n  A \t B </title><pre>  x \n\n y  </pre>", "A B", "x y"},
        {"broken markup read as far as it goes", "<p>open <b>bold <i>both</p> after", "", "open bold both after"},
        {"UTF-8 without a declaration", "<p>na\xC3\xAFve</p>", "", "na\xC3\xAFve"},
        {"Windows-1252 without a declaration", "<p>\x93quoted\x94 caf\xE9</p>", "",
         "\xE2\x80\x9Cquoted\xE2\x80\x9D caf\xC3\xA9"},
        {"Latin-1 declared is read as Windows-1252",
         "<meta charset=\"iso-8859-1\"><p>\x80 caf\xE9</p>", "", "\xE2\x82\xAC caf\xC3\xA9"},
        {"the page's own declaration wins over a guess",
         "<meta http-equiv=Content-Type content=\"text/html; charset=koi8-r\"><p>\xD0\xD2\xC9</p>", "",
         "\xD0\xBF\xD1\x80\xD0\xB8"},
        {"nothing at all", "", "", ""},
    };
    for (const auto& c : cases) {
        const PageText text = ExtractPageText(c.html);
        EXPECT_EQ(text.title, c.title) << c.what;
        EXPECT_EQ(text.body, c.body) << c.what;
    }
}

}  // namespace
}  // namespace quillora
