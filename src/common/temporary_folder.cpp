#include "common/temporary_folder.hpp"

#include <glib.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/removal_on_exit.hpp"

namespace quillora {

std::filesystem::path TemporaryFilesFolder()
{
    return g_get_tmp_dir();
}

std::string TemporaryFolderProblem(const std::filesystem::path& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return errno == ENOENT ? std::string("does not exist")
                               : std::string("cannot be reached: ") + std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return "is not a folder";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return std::string("cannot be written to: ") + std::strerror(errno);
    }
    return {};
}

TemporaryFolder TemporaryFolder::Create(const std::string& name_stem)
{
    // The same folder as the engine's own temporary files, so that a folder that does not work
    // fails here in plain words rather than there in the engine's.
    const std::filesystem::path base = TemporaryFilesFolder();
    std::string pattern = (base / (name_stem + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw Error("Cannot create a temporary folder in " + base.string() + ": " + std::strerror(errno));
    }
    return TemporaryFolder(std::filesystem::path(buffer.data()));
}

TemporaryFolder::TemporaryFolder(std::filesystem::path path)
    : path_(std::move(path))
    , removal_slot_(RemoveOnExit(path_.string()))
{}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : path_(std::exchange(other.path_, {}))
    , removal_slot_(std::exchange(other.removal_slot_, -1))
{}

TemporaryFolder& TemporaryFolder::operator=(TemporaryFolder&& other) noexcept
{
    if (this != &other) {
        Remove();
        path_ = std::exchange(other.path_, {});
        removal_slot_ = std::exchange(other.removal_slot_, -1);
    }
    return *this;
}

TemporaryFolder::~TemporaryFolder()
{
    Remove();
}

void TemporaryFolder::Remove() noexcept
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        ForgetOnExit(std::exchange(removal_slot_, -1));
        path_.clear();
    }
}

}  // namespace quillora
