#include "search/page_text.hpp"

#include <algorithm>
#include <array>

#include "payload/text_encoding.hpp"
#include "search/html_document.hpp"

namespace quillora {

namespace {

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
    static constexpr std::array names{
        "a", "abbr", "b",    "bdi",   "bdo",  "cite",   "code", "data", "dfn",  "em", "font", "i",      "kbd", "mark",
        "q", "s",    "samp", "small", "span", "strong", "sub",  "sup",  "time", "u",  "var",  "strike", "tt",  "big"};
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

}  // namespace

PageText ExtractPageText(std::string_view html)
{
    const HtmlDocument document = ParseHtmlPage(html).document;
    PageText text;
    if (!document) return text;
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (const xmlNode* title = FindElement(root, "title")) {
        CollectText(title->children, text.title);
    }
    const xmlNode* body = FindElement(root, "body");
    // A fragment without a body element still has text; the head stays out either way.
    CollectText(body != nullptr ? body->children : root, text.body);
    // The page is decoded before it is parsed; the index and the window need UTF-8 whatever the
    // parser makes of a page cut at 2 GiB.
    text.title = Trimmed(WithValidUtf8(std::move(text.title)));
    text.body = Trimmed(WithValidUtf8(std::move(text.body)));
    return text;
}

}  // namespace quillora
