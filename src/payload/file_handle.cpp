#include "payload/file_handle.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "common/error.hpp"

namespace quillora {

FileHandle FileHandle::OpenReadOnly(const std::string& path)
{
    int fd = -1;
    do {
        // O_NONBLOCK only matters for FIFOs and devices, which are refused below anyway.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        throw IoErrorFromErrno(errno);
    }
    FileHandle file{UniqueFd(fd)};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw IoErrorFromErrno(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw IoErrorFromErrno(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    return file;
}

std::int64_t FileHandle::Size() const
{
    struct stat info {};
    if (::fstat(fd_.Get(), &info) != 0) {
        throw IoErrorFromErrno(errno);
    }
    return static_cast<std::int64_t>(info.st_size);
}

void FileHandle::ReadExactly(std::int64_t offset, std::span<char> buffer) const
{
    if (offset < 0) {
        throw IoErrorFromErrno(EINVAL);
    }
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(fd_.Get(), buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno);
        }
        if (got == 0) {
            throw IoError(ReadBeyondEndOfFileText);
        }
        done += static_cast<std::size_t>(got);
    }
}

}  // namespace quillora
