#pragma once

#include <string>
#include <string_view>

#include "book/book_links.hpp"

namespace quillora {

// The content rules that keep the pages' file access inside the e-book, as the engine's
// content-blocker list (JSON):
// - every file: address is blocked, then those inside `folder_uri` (a file: address ending in
//   "/", its letters' case as on disk) are let through again;
// - inside, an address is blocked again when its path holds an escaped "/", "\", "." or NUL.
//   The rules see the address before the file loader decodes it, so "..%2f" would climb out;
//   the engine resolves plain "." and ".." segments (also "%2e%2e") and turns "\" into "/"
//   before the rules see them, so only escaped separators remain to refuse;
// - the `links` that lead out of the folder are blocked, with everything under them. Each
//   character of their names then has one spelling only: its escaped form is blocked too.
// Every text is written into a regular expression with the characters that mean something there
// escaped.
std::string BookFileAccessRules(std::string_view folder_uri, const BookLinks& links = {});

}  // namespace quillora
