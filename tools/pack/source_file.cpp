#include "source_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

#include "common/error.hpp"
#include "common/unique_fd.hpp"
#include "errno_text.hpp"

namespace quillora::pack {
namespace {

std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO (named pipe)";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

std::string MebibytesOf(std::size_t bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

}  // namespace

std::string ReadSourceFile(const std::filesystem::path& file, std::size_t limit)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        throw quillora::Error("cannot read the book source: " + ErrnoText());
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        throw quillora::Error("cannot read the book source: " + ErrnoText());
    }
    if (!S_ISREG(info.st_mode)) {
        throw quillora::Error("cannot read the book source: it is " + KindOf(info.st_mode) + ", not a text file");
    }
    const auto too_large = [&] {
        return quillora::Error("the book source is larger than " + MebibytesOf(limit) +
                               ", the limit for a book's settings and menu");
    };
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        throw too_large();
    }
    // The size may change while it is read (a file still being written): the limit holds for
    // what is read, not only for what fstat said.
    std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size()) {
            if (text.size() > limit) {
                throw too_large();
            }
            text.resize(std::min(text.size() * 2, limit + 1));
        }
        const ssize_t got = ::read(fd.Get(), text.data() + filled, text.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw quillora::Error("cannot read the book source: " + ErrnoText());
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > limit) {
        throw too_large();
    }
    text.resize(filled);
    return text;
}

}  // namespace quillora::pack
