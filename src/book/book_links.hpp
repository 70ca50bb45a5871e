#pragma once

#include <string>
#include <vector>

namespace quillora {

// The symbolic links inside a book's folder, as far as they matter to the pages' file access:
// an address names a link, but the engine's file loader follows it wherever it leads.
struct BookLinks {
    // Paths, relative to the folder, of links whose fully resolved target lies outside the
    // folder's real location, or that lead nowhere (a target made later could lie anywhere).
    std::vector<std::string> leading_out;
    // Paths of links to folders inside the book: through them, a link that leads out is reached
    // by another address.
    std::vector<std::string> folders_inside;
};

// Walks `folder` without following any link (one lstat per entry, from the folder listing where
// it can) and sorts the links it holds. Folders that cannot be read are passed over: the pages
// cannot list them either.
BookLinks FindBookLinks(const std::string& folder);

}  // namespace quillora
