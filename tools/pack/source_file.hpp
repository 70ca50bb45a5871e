#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quillora::pack {

// The largest book source read: 16 MiB. A large book's settings and menu take some tens of
// kilobytes, and every e-book reads its whole payload into memory at each start, so a larger
// source is a file named by mistake (a picture, a log, a disk image).
inline constexpr std::size_t MaxSourceBytes = std::size_t{16} << 20;

// Reads a book source whole. Only a regular file (after following links) is read: a device
// such as /dev/zero never ends and a FIFO may never deliver, so both are refused without
// waiting on them. Throws an Error that says what is wrong, for the caller to put after the
// file's name.
std::string ReadSourceFile(const std::filesystem::path& file, std::size_t limit = MaxSourceBytes);

}  // namespace quillora::pack
