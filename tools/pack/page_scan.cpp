#include "page_scan.hpp"

#include <libxml/tree.h>

#include <climits>
#include <fstream>
#include <memory>
#include <string_view>

#include "common/ascii_case.hpp"
#include "errno_text.hpp"

namespace quillora::pack {
namespace {

struct XmlTextDeleter {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using XmlTextPtr = std::unique_ptr<xmlChar, XmlTextDeleter>;

// The attributes that name another file, per element.
struct ReferenceAttribute {
    std::string_view element;
    std::string_view attribute;
    ReferenceKind kind;
};
constexpr ReferenceAttribute ReferenceAttributes[] = {
    {"a", "href", ReferenceKind::Link},         {"area", "href", ReferenceKind::Link},
    {"frame", "src", ReferenceKind::Frame},     {"iframe", "src", ReferenceKind::Frame},
    {"img", "src", ReferenceKind::Image},       {"img", "srcset", ReferenceKind::Image},
    {"script", "src", ReferenceKind::Script},   {"source", "src", ReferenceKind::Media},
    {"source", "srcset", ReferenceKind::Media}, {"video", "src", ReferenceKind::Media},
    {"video", "poster", ReferenceKind::Image},  {"audio", "src", ReferenceKind::Media},
    {"embed", "src", ReferenceKind::Media},     {"object", "data", ReferenceKind::Media},
};

std::string_view Name(const xmlChar* name)
{
    return name == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(name));
}

std::optional<std::string> Attribute(xmlNode* node, std::string_view name)
{
    const XmlTextPtr value(xmlGetProp(node, reinterpret_cast<const xmlChar*>(std::string(name).c_str())));
    if (!value) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(value.get()));
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The addresses of a srcset: each candidate is an address and, after a blank, its width or
// density. A candidate whose address holds a comma cannot be told apart from two, so such a
// srcset is left unchecked rather than guessed at.
std::vector<std::string> SrcsetAddresses(std::string_view srcset)
{
    std::vector<std::string> addresses;
    std::size_t at = 0;
    while (at < srcset.size()) {
        while (at < srcset.size() && (IsBlank(srcset[at]) || srcset[at] == ',')) {
            ++at;
        }
        const std::size_t start = at;
        while (at < srcset.size() && !IsBlank(srcset[at])) {
            ++at;
        }
        if (start == at) {
            break;
        }
        std::string_view address = srcset.substr(start, at - start);
        if (address.ends_with(',')) {
            address.remove_suffix(1);
        } else {
            at = srcset.find(',', at);  // skip the descriptor
            at = at == std::string_view::npos ? srcset.size() : at;
        }
        if (address.find(',') != std::string_view::npos || address.starts_with("data:")) {
            return {};
        }
        addresses.emplace_back(address);
    }
    return addresses;
}

bool IsStyleSheetLink(xmlNode* node)
{
    const auto rel = Attribute(node, "rel");
    return rel && AsciiLowerCopy(*rel).find("stylesheet") != std::string::npos;
}

class Scanner {
public:
    // Every element in document order, without recursion: a deeply nested page must not
    // exhaust the stack.
    void Visit(xmlNode* root)
    {
        xmlNode* node = root;
        while (node != nullptr) {
            if (node->type == XML_ELEMENT_NODE) {
                Element(node);
            }
            if (node->children != nullptr) {
                node = node->children;
                continue;
            }
            while (node != nullptr && node != root && node->next == nullptr) {
                node = node->parent;
            }
            node = node == nullptr || node == root ? nullptr : node->next;
        }
    }

    PageScan Take() { return std::move(scan_); }

private:
    void Element(xmlNode* node)
    {
        const std::string_view element = Name(node->name);
        const int line = static_cast<int>(xmlGetLineNo(node));
        if (auto id = Attribute(node, "id")) {
            scan_.anchors.insert(std::move(*id));
        }
        if (element == "a") {
            if (auto name = Attribute(node, "name")) {
                scan_.anchors.insert(std::move(*name));
            }
        }
        if (element == "base" && !scan_.base) {
            scan_.base = Attribute(node, "href");
        }
        if (element == "link" && IsStyleSheetLink(node)) {
            Add(node, "href", ReferenceKind::StyleSheet, line);
        }
        for (const auto& entry : ReferenceAttributes) {
            if (entry.element == element) {
                Add(node, entry.attribute, entry.kind, line);
            }
        }
    }

    void Add(xmlNode* node, std::string_view attribute, ReferenceKind kind, int line)
    {
        auto value = Attribute(node, attribute);
        if (!value) {
            return;
        }
        if (attribute != "srcset") {
            scan_.references.push_back({kind, std::move(*value), line});
            return;
        }
        for (auto& address : SrcsetAddresses(*value)) {
            scan_.references.push_back({kind, std::move(address), line});
        }
    }

    PageScan scan_;
};

}  // namespace

const char* ReferenceKindName(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Link: return "link";
    case ReferenceKind::Frame: return "frame";
    case ReferenceKind::Image: return "image";
    case ReferenceKind::StyleSheet: return "style sheet";
    case ReferenceKind::Script: return "script";
    case ReferenceKind::Media: return "media";
    }
    return "reference";
}

PageScanResult ScanPage(const std::filesystem::path& file)
{
    // Read here rather than by libxml2, which would take a file name with "%" for an address.
    std::ifstream stream(file, std::ios::binary);
    std::string text;
    char buffer[1 << 16];
    while (stream.read(buffer, sizeof buffer) || stream.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(stream.gcount()));
        if (text.size() > static_cast<std::size_t>(INT_MAX)) {
            return {{}, "the page is too large to check"};
        }
    }
    if (!stream.eof()) {
        return {{}, "cannot read the page: " + ErrnoText()};
    }
    ParsedHtmlPage parsed = ParseHtmlPage(text);
    if (!parsed.document) {
        return {{}, "cannot read the page: out of memory"};
    }
    Scanner scanner;
    scanner.Visit(xmlDocGetRootElement(parsed.document.get()));
    PageScan scan = scanner.Take();
    scan.first_undecodable = std::move(parsed.first_undecodable);
    return {std::move(scan), std::nullopt};
}

}  // namespace quillora::pack
