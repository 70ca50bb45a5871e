// One reading of a page's bytes for the search and the book check: the encoding the runtime's
// engine picks, line numbers, empty and broken pages.

#include <gtest/gtest.h>

#include <libxml/tree.h>

#include <string>
#include <vector>

#include "search/html_document.hpp"

namespace quillora {
namespace {

std::string RootText(const HtmlDocument& document)
{
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root == nullptr) return "(no root)";
    xmlChar* content = xmlNodeGetContent(root);
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

TEST(HtmlDocument, ReadsTheEncodingTheEngineShows)
{
    struct Case {
        const char* what;
        std::string html;
        std::string text;  // as UTF-8
    };
    // page bytes -> text of the page
    const std::vector<Case> cases = {
        // The engine's default for an undeclared local page is Windows-1252, valid UTF-8 or not.
        {"UTF-8 bytes without a declaration", "<p>caf\xC3\xA9</p>", "caf\xC3\x83\xC2\xA9"},
        {"Windows-1252 without a declaration", "<p>\x93q\x94</p>", "\xE2\x80\x9Cq\xE2\x80\x9D"},
        {"Latin-1 declared is Windows-1252", "<meta charset=\"iso-8859-1\"><p>\x80</p>", "\xE2\x82\xAC"},
        {"ASCII declared is Windows-1252", "<meta charset=us-ascii><p>\x80</p>", "\xE2\x82\xAC"},
        {"an unknown charset is Windows-1252", "<meta charset=\"bogus-x\"><p>\x93</p>", "\xE2\x80\x9C"},
        {"meta http-equiv", "<meta http-equiv=Content-Type content=\"text/html; charset=koi8-r\"><p>\xD0\xD2\xC9</p>",
         "\xD0\xBF\xD1\x80\xD0\xB8"},
        {"XML declaration", "<?xml version=\"1.0\" encoding=\"utf-8\"?><p>caf\xC3\xA9</p>", "caf\xC3\xA9"},
        {"UTF-8 mark", "\xEF\xBB\xBF<p>caf\xC3\xA9</p>", "caf\xC3\xA9"},
        {"the mark wins over a declaration", "\xEF\xBB\xBF<meta charset=windows-1251><p>caf\xC3\xA9</p>",
         "caf\xC3\xA9"},
        {"UTF-16LE mark", std::string("\xFF\xFE<\0p\0>\0\xE9\0", 10), "\xC3\xA9"},
        {"UTF-16 declared in ASCII bytes is UTF-8", "<meta charset=utf-16><p>caf\xC3\xA9</p>", "caf\xC3\xA9"},
        // A byte the encoding lacks stands for a character of its own, and the page reads on.
        {"Windows-1252's undefined byte",
         "<p>a\x81"
         "b</p>",
         "a\xC2\x81"
         "b"},
        {"a stray byte in declared UTF-8",
         "<meta charset=utf-8><p>a\xFF"
         "b</p>",
         "a\xEF\xBF\xBD"
         "b"},
        {"broken markup read as far as it goes", "<p>open <b>bold</p> after", "open bold after"},
        {"nothing at all", "", "(no root)"},
    };
    for (const auto& c : cases) {
        const HtmlDocument document = ParseHtmlPage(c.html).document;
        ASSERT_TRUE(document) << c.what;
        EXPECT_EQ(RootText(document), c.text) << c.what;
    }
}

// A book's long generated pages: line 70,000 is told as 70000, not clamped at 65535.
TEST(HtmlDocument, LineNumbersPass65535)
{
    const std::string html = std::string(69999, '\n') + "<p id=far>x</p>";
    const HtmlDocument document = ParseHtmlPage(html).document;
    const xmlNode* body = xmlDocGetRootElement(document.get())->children;
    EXPECT_EQ(xmlGetLineNo(body->children), 70000);
}

}  // namespace
}  // namespace quillora
