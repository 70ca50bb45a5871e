#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The content rules that keep the pages' file access inside the e-book: every file: address is
// blocked, then those inside `folder_uri` (a file: address ending in "/") are let through again.
// The rules are the engine's content-blocker list (JSON); the folder is written into a regular
// expression with every character that has a meaning there escaped.
std::string BookFileAccessRules(std::string_view folder_uri);

}  // namespace quillora
