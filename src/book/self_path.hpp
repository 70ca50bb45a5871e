#pragma once

#include <string>

namespace quillora {

class IoError;

// The full path of the running executable (/proc/self/exe resolved).
std::string ProgramPath();
// The folder part of a path, always ending in "/".
std::string FolderOf(const std::string& path);
// The path names a regular file, after following symbolic links: a folder, a FIFO, a device or a
// dangling link is no page, and loading one would show an error page or never end.
bool RegularFileExists(const std::string& path);

// The path names a regular file inside `folder` (absolute), once both have their links followed
// and their "." and ".." resolved.
bool RegularFileWithin(const std::string& folder, const std::string& path);

// What the reader is told when the book cannot read its own file at `path` (for one that may be
// run but not read): the file and the system's reason. A failure the runtime found itself, such
// as a read beyond the end, keeps its own words.
std::string OwnFileErrorText(const std::string& path, const IoError& error);

}  // namespace quillora
