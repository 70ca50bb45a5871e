#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// A page of the book as the file system has it: where it lies in the book's folder ("a/b.htm",
// with "/"), and its size and modification time, which tell whether an index still holds it.
struct BookPage {
    std::string path;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // seconds since the epoch

    bool operator==(const BookPage&) const = default;
};

// Whether a file name is a page's: .htm, .html, .xhtml, .xht or .shtml, in any letter case.
bool IsPageName(std::string_view name);

// Every page (see IsPageName) in `folder` and the folders inside it, ordered
// by path. Hidden names (a leading dot) are left out, as packing leaves them out, and so are
// links, so that nothing outside the folder is read. Folders that cannot be read are skipped;
// a book folder that cannot be read at all throws Error.
std::vector<BookPage> ListBookPages(const std::filesystem::path& folder);

// The bytes of a page; a page that vanished or cannot be read since the listing gives none.
std::string ReadBookPage(const std::filesystem::path& file);

}  // namespace quillora
