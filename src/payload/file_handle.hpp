#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillora {

// Owns one read-only file descriptor. Errors are IoError with the runtime's texts.
class FileHandle {
public:
    // Opens an existing file read-only; "File not found" or "I/O error %d" on failure.
    static FileHandle OpenReadOnly(const std::string& path);

    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    std::int64_t Size() const;
    // Reads exactly buffer.size() bytes at `offset`; "Read beyond end of file" when the file
    // ends first.
    void ReadExactly(std::int64_t offset, std::span<char> buffer) const;

private:
    explicit FileHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace quillora
