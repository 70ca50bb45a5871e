#include "menu/menu_file.hpp"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/error.hpp"
#include "common/removal_on_exit.hpp"

namespace quillora {
namespace {

// How often a taken name is drawn anew before giving up; with 26^6 names, running out means
// something other than chance (a folder full of planted names, or a stem source that repeats).
constexpr int MaxAttempts = 100;

Error CannotCreate(const std::string& path, int code)
{
    return Error("Cannot create file \"" + path + "\". " + std::strerror(code));
}

// Writes everything or returns the errno of the failure.
int WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace

std::string MenuFile::DrawMenuFileStem()
{
    std::string stem;
    while (stem.size() < 6) {
        unsigned char byte = 0;
        if (getrandom(&byte, 1, 0) != 1) {
            continue;  // interrupted before any byte; the source itself never runs dry
        }
        // 234 = 9 * 26: bytes above it would favour the first letters.
        if (byte < 234) {
            stem += static_cast<char>('A' + byte % 26);
        }
    }
    return stem;
}

std::unique_ptr<MenuFile> MenuFile::Create(std::string_view content, const std::string& folder,
                                           const StemSource& draw_stem)
{
    std::string path;
    int code = EEXIST;
    for (int attempt = 0; attempt < MaxAttempts && code == EEXIST; ++attempt) {
        std::string stem = draw_stem();
        path = folder + "." + stem + ".dmt";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            code = errno;
            continue;
        }
        // Registered before the first byte, so that a signal during the write leaves nothing.
        const int slot = RemoveOnExit(path);
        code = WriteAll(fd, content);
        if (::close(fd) != 0 && code == 0 && errno != EINTR) {
            code = errno;
        }
        if (code != 0) {
            ::unlink(path.c_str());
            ForgetOnExit(slot);
            break;
        }
        return std::unique_ptr<MenuFile>(new MenuFile(std::move(path), std::move(stem), slot));
    }
    throw CannotCreate(path, code);
}

MenuFile::MenuFile(std::string path, std::string stem, int removal_slot)
    : path_(std::move(path))
    , stem_(std::move(stem))
    , removal_slot_(removal_slot)
{}

MenuFile::~MenuFile()
{
    ::unlink(path_.c_str());  // a file already gone is not an error at close
    ForgetOnExit(removal_slot_);
}

std::string DefaultTemporaryFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = (tmpdir != nullptr && *tmpdir != '\0') ? tmpdir : "/tmp";
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace quillora
