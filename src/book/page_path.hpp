#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// The components of a stored path split at every backslash: an empty component between two
// adjacent backslashes counts, a backslash at the very end adds no empty last component.
std::vector<std::string> SplitStoredPath(std::string_view stored_path);

// The file name of a stored path: the text after its last backslash or colon.
std::string_view StoredFileName(std::string_view stored_path);

// A stored path as a local one: every "\" becomes "/", also one left inside a name, so that no
// file name with a backslash in it is ever asked for.
std::string LocalPathOf(std::string_view stored_path);

// The local path of a page that the authoring machine stored as a full backslash path: only the
// name of the folder holding the file and the file name survive, placed in `executable_folder`
// (which ends in "/"). A stored path with fewer than two components fails with
// "List index out of bounds (-1)" or "(-2)".
std::string PagePathOf(std::string_view stored_path, const std::string& executable_folder);

}  // namespace quillora
