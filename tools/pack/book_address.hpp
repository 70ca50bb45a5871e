#pragma once

#include <string>
#include <string_view>

namespace quillora::pack {

// Where an address written in a page leads, seen from the folder that holds the e-book and its
// page folders ("pages/maps/north.html").
struct BookAddress {
    enum class Kind {
        Action,    // holds "ACTION:": the e-book runs it instead of loading anything
        Web,       // has a scheme other than file: (http:, mailto:, javascript:, ...), or "//"
        Absolute,  // a file path from the root or a drive, or a file: address
        Outside,   // climbs with ".." above the folder that holds the page folders
        InBook,    // `path` below that folder; empty for the folder itself
    };
    Kind kind = Kind::InBook;
    std::string path;           // InBook: percent-decoded, "." and ".." resolved, "/" between names
    bool names_folder = false;  // InBook: the address ends in "/"
    bool has_fragment = false;
    std::string fragment;  // after the "#", as written
};

// An address as the engine hands it on: without blanks and control characters at the ends, and
// without the tabs and line breaks inside.
std::string EngineAddress(std::string_view address);

// Resolves `address` as the engine resolves it against the page `page_path` (a path below the
// e-book's folder, such as "pages/index.html"): blanks at the ends and line breaks inside are
// dropped, "\" is read as "/", the query and the fragment are cut off, and each name is
// percent-decoded. An empty address, or one that is only a query or a fragment, is the page
// itself.
BookAddress ResolveBookAddress(std::string_view address, std::string_view page_path);

}  // namespace quillora::pack
