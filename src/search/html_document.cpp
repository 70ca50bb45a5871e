#include "search/html_document.hpp"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/encoding.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>
#include <utility>

#include "common/ascii_case.hpp"

namespace quillora {

namespace {

struct ParserFreer {
    void operator()(htmlParserCtxt* parser) const { htmlFreeParserCtxt(parser); }
};

// The engine's encoding for a page that declares none, or one it does not know.
constexpr const char* DefaultEncoding = "windows-1252";

// The charset a page names near its start (a meta element or an XML declaration), if any.
std::optional<std::string> DeclaredCharset(std::string_view html)
{
    const std::string head = AsciiLowerCopy(html.substr(0, 4096));
    for (const char* marker : {"charset=", "encoding="}) {
        std::size_t at = head.find(marker);
        if (at == std::string::npos) continue;
        at += std::string_view(marker).size();
        while (at < head.size() && (head[at] == '"' || head[at] == '\'' || head[at] == ' ')) ++at;
        const std::size_t end = head.find_first_of("\"'; >/\t\r\n", at);
        std::string name = head.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!name.empty()) return name;
    }
    return std::nullopt;
}

bool IsKnownEncoding(const std::string& name)
{
    xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(name.c_str());
    if (handler == nullptr) return false;
    xmlCharEncCloseFunc(handler);
    return true;
}

// The encoding handed to the parser; nullptr leaves it to the parser, which follows the page's
// own declaration.
const char* ParserEncoding(std::string_view html)
{
    // Named rather than left to the parser, which would let a meta charset override the mark.
    if (html.starts_with("\xEF\xBB\xBF")) return "UTF-8";
    if (html.starts_with("\xFF\xFE")) return "UTF-16LE";
    if (html.starts_with("\xFE\xFF")) return "UTF-16BE";
    const auto declared = DeclaredCharset(html);
    if (!declared || !IsKnownEncoding(*declared)) return DefaultEncoding;
    static constexpr std::array legacy{"iso-8859-1", "latin1", "iso8859-1", "us-ascii", "ascii",
                                       "windows-1252", "cp1252", "l1"};
    const bool is_legacy = std::find(legacy.begin(), legacy.end(), *declared) != legacy.end();
    return is_legacy ? DefaultEncoding : nullptr;
}

}  // namespace

HtmlDocument ParseHtmlPage(std::string_view bytes)
{
    // Pages past 2 GiB are cut there: the parser counts in int.
    const auto size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    // An empty buffer makes no parser; it is an empty page all the same.
    if (size == 0) return HtmlDocument(htmlNewDocNoDtD(nullptr, nullptr));
    const std::unique_ptr<htmlParserCtxt, ParserFreer> parser(htmlCreateMemoryParserCtxt(bytes.data(), size));
    if (!parser) return nullptr;
    int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                  HTML_PARSE_COMPACT;
    if (const char* encoding = ParserEncoding(bytes.substr(0, static_cast<std::size_t>(size)))) {
        xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(encoding);
        if (handler == nullptr) return nullptr;
        xmlSwitchToEncoding(parser.get(), handler);  // the parser owns the handler from here
        options |= HTML_PARSE_IGNORE_ENC;  // a meta charset later in the page must not switch again
    }
    htmlCtxtUseOptions(parser.get(), options);
    // The HTML parser takes this option only when set directly.
    parser->options |= XML_PARSE_BIG_LINES;
    htmlParseDocument(parser.get());
    return HtmlDocument(std::exchange(parser->myDoc, nullptr));
}

}  // namespace quillora
