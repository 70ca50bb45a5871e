#include "search/html_document.hpp"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <utility>

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
{
}

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
    htmlCtxtUseOptions(parser.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                         HTML_PARSE_NONET | HTML_PARSE_COMPACT | HTML_PARSE_IGNORE_ENC);
    // The HTML parser takes this option only when set directly.
    parser->options |= XML_PARSE_BIG_LINES;
    htmlParseDocument(parser.get());
    return HtmlDocument(std::exchange(parser->myDoc, nullptr));
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
    return parsed;
}

}  // namespace quillora
