#include "search/html_document.hpp"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "search/page_encoding.hpp"

namespace quillora {

namespace {

struct ParserFreer {
    void operator()(htmlParserCtxt* parser) const { htmlFreeParserCtxt(parser); }
};

// The parser's complaints about markup are no news: the engine reads broken markup too. Taken
// per parser, and for any version's error type, so that none reaches stderr.
template <typename ParserError>
void IgnoreParserError(void*, ParserError)
{}

HtmlDocument ParseUtf8(const std::string& text)
{
    // Pages past 2 GiB are cut there: the parser counts in int.
    const auto size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    // An empty buffer makes no parser; it is an empty page all the same.
    if (size == 0) return HtmlDocument(htmlNewDocNoDtD(nullptr, nullptr));
    const std::unique_ptr<htmlParserCtxt, ParserFreer> parser(htmlCreateMemoryParserCtxt(text.data(), size));
    if (!parser) return nullptr;
    parser->sax->serror = IgnoreParserError;
    xmlSwitchEncoding(parser.get(), XML_CHAR_ENCODING_UTF8);
    // The text is decoded already: a meta charset must not switch the parser to another.
    htmlCtxtUseOptions(parser.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                         HTML_PARSE_COMPACT | HTML_PARSE_IGNORE_ENC);
    // The HTML parser takes this option only when set directly.
    parser->options |= XML_PARSE_BIG_LINES;
    htmlParseDocument(parser.get());
    return HtmlDocument(std::exchange(parser->myDoc, nullptr));
}

bool IsElement(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

// The engine shows what follows </html> at the end of the body. The parser puts it in an html
// element of its own instead: after the first one or, in a page without a doctype, inside it
// after the body. Its nodes keep their line numbers as they move.
void MoveTrailingContentIntoBody(xmlDoc* document)
{
    xmlNode* root = xmlDocGetRootElement(document);
    if (root == nullptr || !IsElement(root, "html")) return;
    std::vector<xmlNode*> trailing;
    xmlNode* body = nullptr;
    for (xmlNode* child = root->children; child != nullptr; child = child->next) {
        if (IsElement(child, "body") && body == nullptr) body = child;
        if (IsElement(child, "html")) trailing.push_back(child);
    }
    for (xmlNode* sibling = root->next; sibling != nullptr; sibling = sibling->next) {
        if (IsElement(sibling, "html")) trailing.push_back(sibling);
    }
    xmlNode* target = body != nullptr ? body : root;  // a frameset page has no body
    const auto move_children = [target](xmlNode* from) {
        for (xmlNode* child = from->children; child != nullptr;) {
            xmlNode* next = child->next;
            xmlUnlinkNode(child);
            xmlAddChild(target, child);  // may merge a text node into the one before, freeing it
            child = next;
        }
    };
    for (xmlNode* html : trailing) {
        for (xmlNode* child = html->children; child != nullptr;) {
            xmlNode* next = child->next;
            if (IsElement(child, "body")) {
                move_children(child);
            } else {
                xmlUnlinkNode(child);
                xmlAddChild(target, child);
            }
            child = next;
        }
        xmlUnlinkNode(html);
        xmlFreeNode(html);
    }
}

}  // namespace

ParsedHtmlPage ParseHtmlPage(std::string_view bytes)
{
    const DecodedPage page = DecodePage(bytes);
    ParsedHtmlPage parsed;
    if (const auto& stray = page.decoded.first_stray) {
        // Lines as the parser counts them, in the decoded text.
        const std::string_view before = std::string_view(page.decoded.text).substr(0, stray->offset);
        const auto line = std::min<std::ptrdiff_t>(std::count(before.begin(), before.end(), '\n') + 1, INT_MAX);
        parsed.first_undecodable =
            UndecodableByte{static_cast<int>(line), stray->value, page.encoding, page.encoding_is_default};
    }
    parsed.document = ParseUtf8(page.decoded.text);
    if (parsed.document) MoveTrailingContentIntoBody(parsed.document.get());
    return parsed;
}

}  // namespace quillora
