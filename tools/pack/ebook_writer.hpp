#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "page_folder.hpp"

namespace quillora::pack {

struct WriteRequest {
    std::string runtime_image;                    // the bare runtime program
    std::string payload_text;                     // the settings and menu lines
    std::vector<PlannedPageFolder> page_folders;  // copied beside the e-book as planned
    std::filesystem::path output;                 // the e-book executable to write
    bool replace = false;                         // an existing e-book or page folder may be replaced
    bool search_index = true;                     // each page folder gets the index of its pages
    std::string title;                            // the launcher's name; the e-book's name when empty
};

// Writes an e-book all or nothing: the program with its payload goes to a hidden temporary file
// in the output folder, the page folders are copied into a hidden temporary folder there, and
// only when everything is complete are they renamed into place (see OutputCommit: without
// `replace` nothing existing is replaced, even if it appears while the copy runs). A failure at
// any step (a page that cannot be copied, a full disk) removes every temporary and puts back
// what was replaced, and is thrown as an Error whose message says what failed. Missing folders
// on the way to the output are created (and removed again on failure). Temporaries that an
// earlier run for the same e-book left behind when it died are removed first. The e-book gets
// the run bits that the process's umask allows. Beside it go its desktop launcher
// (`NAME.desktop`, runnable, so that file managers start it) and the icon that names
// (`NAME.svg`), placed and undone with the e-book.
void WriteEbook(const WriteRequest& request);

}  // namespace quillora::pack
