// What the book search reads of a page: its title and visible text.

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
        {"entities decoded", "<title>Fish &amp; Chips</title><p>caf&eacute; &#8364;5 &lt;b&gt;&nbsp;x", "Fish & Chips",
         "caf\xC3\xA9 \xE2\x82\xAC"
         "5 <b>\xC2\xA0x"},
        {"scripts, styles and the head left out",
         "<html><head><style>p{color:red}</style><script>var hidden=1;</script><title>T</title>"
         "<meta name=keywords content=secret></head><body><script>alert('no')</script>"
         "<p>seen</p><noscript>js off</noscript></body></html>",
         "T", "seen"},
        {"blocks part words, inline elements do not",
         "<p>one</p><p>two<br>three</p><div>four<b>five</b>six</div><td>a</td><td>b</td>", "",
         "one two three fourfivesix a b"},
        {"white space collapsed", "<title>\n  A \t B </title><pre>  x \n\n y  </pre>", "A B", "x y"},
        {"broken markup read as far as it goes", "<p>open <b>bold <i>both</p> after", "", "open bold both after"},
        {"nothing at all", "", "", ""},
        {"what follows </html> shown in the body", "<!DOCTYPE html><html><body><p>in</p></body></html>\n<p>after</p>",
         "", "in after"},
        {"bytes that break the page's encoding shown as U+FFFD", "\xEF\xBB\xBF<title>A\xFF</title><p>b\xFE",
         "A\xEF\xBF\xBD", "b\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        const PageText text = ExtractPageText(c.html);
        EXPECT_EQ(text.title, c.title) << c.what;
        EXPECT_EQ(text.body, c.body) << c.what;
    }
}

}  // namespace
}  // namespace quillora
