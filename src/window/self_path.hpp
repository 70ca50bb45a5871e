#pragma once

#include <string>

namespace quillora {

// The full path of the running executable (/proc/self/exe resolved).
std::string ProgramPath();
// The folder part of a path, always ending in "/".
std::string FolderOf(const std::string& path);
// The path names a regular file, after following symbolic links: a folder, a FIFO, a device or a
// dangling link is no page, and loading one would show an error page or never end.
bool RegularFileExists(const std::string& path);

}  // namespace quillora
