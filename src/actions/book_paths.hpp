#pragma once

#include <string>
#include <string_view>

namespace quillora {

// Paths in action strings. Stored paths (the authoring machine's) are separated by "\", local
// paths by "/"; a folder that the program hands out always ends in its separator.

// The authored path (a page's full stored path on the authoring machine, below the same parent
// folder as the home page) without as many leading characters as stand in front of the home
// page's folder name in `home_path`. Cut by position only; nothing is compared. A home path
// without a backslash fails with "List index out of bounds (%d)".
std::string RebaseBookPath(std::string_view home_path, std::string_view authored_path);

// The text with "\" (or "/") appended unless it already ends in one. The empty text stays empty:
// a folder that is not known must not turn into the root.
std::string WithTrailingBackslash(std::string_view text);
std::string WithTrailingSlash(std::string_view text);

// The folders that "[WindowsDir]" and "[SystemDir]" stand for. Here they are the shared system
// tree and the folder of its programs: "/usr" and "/usr/bin".
std::string WindowsFolder();
std::string SystemFolder();

// What the three path macros stand for, each ending in "/".
struct MacroFolders {
    std::string program;  // [Dir]: the executable's folder
    std::string windows;  // [WindowsDir]
    std::string system;   // [SystemDir]
};
// The program folder given, the other two from WindowsFolder() and SystemFolder().
MacroFolders MacroFoldersFor(std::string_view executable_folder);

// Every "[Dir]", then every "[WindowsDir]", then every "[SystemDir]" (any letter case) replaced
// by its folder; a later macro is also replaced where an earlier folder brought it in.
std::string ExpandPathMacros(std::string_view file_name, const MacroFolders& folders);

}  // namespace quillora
