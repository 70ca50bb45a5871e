#include "search/page_text.hpp"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "common/ascii_case.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

struct DocumentFreer {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

bool NameIs(const xmlNode* node, const char* name)
{
    return node->name != nullptr && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

// Elements whose content is no text a reader sees.
bool IsHidden(const xmlNode* element)
{
    static constexpr std::array names{"script", "style", "noscript", "template", "head", "svg", "object"};
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return NameIs(element, name); });
}

// Elements inside a line of text: no word ends where they begin or end.
bool IsInline(const xmlNode* element)
{
    static constexpr std::array names{"a",    "abbr", "b",    "bdi",  "bdo",    "cite",  "code",
                                      "data", "dfn",  "em",   "font", "i",      "kbd",   "mark",
                                      "q",    "s",    "samp", "small", "span",  "strong", "sub",
                                      "sup",  "time", "u",    "var",  "strike", "tt",    "big"};
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return NameIs(element, name); });
}

// Appends text with every run of white space as one blank, never one at the start.
void AppendCollapsed(std::string_view text, std::string& out)
{
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
}

void AppendBreak(std::string& out)
{
    if (!out.empty() && out.back() != ' ') out += ' ';
}

void CollectText(const xmlNode* node, std::string& out)
{
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            AppendCollapsed(reinterpret_cast<const char*>(node->content != nullptr ? node->content : BAD_CAST ""), out);
        } else if (node->type == XML_ELEMENT_NODE && !IsHidden(node)) {
            const bool block = !IsInline(node);
            if (block) AppendBreak(out);
            CollectText(node->children, out);
            if (block) AppendBreak(out);
        }
    }
}

const xmlNode* FindElement(const xmlNode* node, const char* name)
{
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (NameIs(node, name)) return node;
        if (const xmlNode* found = FindElement(node->children, name)) return found;
    }
    return nullptr;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

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

// The encoding handed to the parser; nullptr leaves it to the parser (a byte-order mark, or a
// declaration it understands).
const char* ParserEncoding(std::string_view html)
{
    if (html.starts_with("\xEF\xBB\xBF") || html.starts_with("\xFF\xFE") || html.starts_with("\xFE\xFF")) {
        return nullptr;
    }
    if (const auto declared = DeclaredCharset(html)) {
        // Browsers read these as Windows-1252, whose letters fill the C1 range of Latin-1.
        static constexpr std::array legacy{"iso-8859-1", "latin1", "iso8859-1", "us-ascii", "ascii",
                                           "windows-1252", "cp1252", "l1"};
        const bool is_legacy =
            std::find(legacy.begin(), legacy.end(), *declared) != legacy.end();
        return is_legacy ? "windows-1252" : nullptr;
    }
    return IsValidUtf8(html) ? "UTF-8" : "windows-1252";
}

}  // namespace

PageText ExtractPageText(std::string_view html)
{
    constexpr int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                            HTML_PARSE_NONET | HTML_PARSE_COMPACT;
    const std::unique_ptr<xmlDoc, DocumentFreer> document(
        htmlReadMemory(html.data(), static_cast<int>(std::min<std::size_t>(html.size(), INT32_MAX)),
                       nullptr, ParserEncoding(html), options));
    PageText text;
    if (!document) return text;
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (const xmlNode* title = FindElement(root, "title")) {
        CollectText(title->children, text.title);
    }
    const xmlNode* body = FindElement(root, "body");
    // A fragment without a body element still has text; the head stays out either way.
    CollectText(body != nullptr ? body->children : root, text.body);
    text.title = Trimmed(std::move(text.title));
    text.body = Trimmed(std::move(text.body));
    return text;
}

}  // namespace quillora
