#pragma once

#include <string>

namespace quillora {

// The full path of the running executable (/proc/self/exe resolved).
std::string ProgramPath();
// The folder part of a path, always ending in "/".
std::string FolderOf(const std::string& path);
// An entry of that name exists in the file system, of any kind (folders count).
bool EntryExists(const std::string& path);

}  // namespace quillora
