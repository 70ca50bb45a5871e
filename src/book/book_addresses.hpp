#pragma once

#include <string>
#include <string_view>

#include "common/temporary_folder.hpp"

namespace quillora {

// The engine's file: addresses of local paths, and the local paths of its addresses.
//
// An address is formed from the bytes of the path (blanks, '#', '?', '%' and every byte outside
// ASCII escaped), so every name the file system holds gets one. The engine, though, only works
// with file addresses whose path is UTF-8: it ends the process that shows a page from a folder
// whose name is, say, a Latin-1 "caf\xE9". A book in such a folder is therefore shown through a
// link to that folder with a plain name, in a private temporary folder that goes away with this
// object: addresses inside the book name the link, and paths made from them name the folder.
class BookAddresses {
public:
    // No book folder: paths and addresses turn into each other as they are.
    BookAddresses() = default;
    // For the book in `folder` (absolute, ending in "/"). Throws Error when the folder needs a
    // link and none can be made.
    [[nodiscard]] static BookAddresses ForFolder(const std::string& folder);

    // The file: address of an absolute path; throws Error for any other.
    [[nodiscard]] std::string AddressOf(const std::string& path) const;
    // The local path of a file: address, escapes decoded to the bytes they stand for; empty for
    // an address of another kind or one that names no local path.
    [[nodiscard]] std::string PathOf(const std::string& address) const;

private:
    std::string folder_;         // the book's folder, ending in "/"
    std::string engine_folder_;  // the link the engine sees instead, empty when none is needed
    TemporaryFolder link_home_;
};

}  // namespace quillora
