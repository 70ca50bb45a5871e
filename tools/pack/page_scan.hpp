#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "search/html_document.hpp"

namespace quillora::pack {

// What a reference in a page asks the engine for.
enum class ReferenceKind { Link, Frame, Image, StyleSheet, Script, Media };

// "link", "image", ...: how messages name a kind.
const char* ReferenceKindName(ReferenceKind kind);

// One address written in a page, as the page's markup gives it (entities decoded).
struct PageReference {
    ReferenceKind kind = ReferenceKind::Link;
    std::string address;
    int line = 0;
};

// The parts of one page that the book check follows: the addresses it refers to, in the order
// written, and the names a fragment can point at (id= on any element, name= on <a>).
struct PageScan {
    std::vector<PageReference> references;
    std::unordered_set<std::string> anchors;
    std::optional<std::string> base;  // the first <base href>, which relative references follow
    std::optional<UndecodableByte> first_undecodable;
};

// Reads a page as the runtime's engine reads it (see ParseHtmlPage); a page that cannot be read
// gives a message instead.
struct PageScanResult {
    PageScan scan;
    std::optional<std::string> failure;
};
PageScanResult ScanPage(const std::filesystem::path& file);

}  // namespace quillora::pack
