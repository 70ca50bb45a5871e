#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "common/unique_fd.hpp"

namespace quillora {

// Owns one read-only file descriptor. Errors are IoError with the runtime's texts.
// The file is opened without any write access, so other openers (the running executable is
// open elsewhere, an authoring tool may be writing a copy) are never locked out.
class FileHandle {
public:
    // Opens an existing regular file read-only; "File not found" or "I/O error %d" on failure.
    // A directory is "I/O error 21", any other non-regular file (a FIFO, a device) "I/O error 22":
    // neither can carry a payload, and reading a FIFO would block.
    static FileHandle OpenReadOnly(const std::string& path);

    FileHandle(FileHandle&&) noexcept = default;
    FileHandle& operator=(FileHandle&&) noexcept = default;

    std::int64_t Size() const;
    // Reads exactly buffer.size() bytes at `offset`; "Read beyond end of file" when the file
    // ends first. A negative offset is "I/O error 22", as the positioned read answers it.
    // The buffer may hold a partial read after a failure; callers that promise to leave their
    // caller's buffer alone read into a buffer of their own.
    void ReadExactly(std::int64_t offset, std::span<char> buffer) const;

private:
    explicit FileHandle(UniqueFd fd) : fd_(std::move(fd)) {}
    // Closed when the handle goes, its result ignored: a descriptor only read from cannot lose data.
    UniqueFd fd_;
};

}  // namespace quillora
