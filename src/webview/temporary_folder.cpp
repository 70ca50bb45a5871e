#include "webview/temporary_folder.hpp"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/removal_on_exit.hpp"

namespace quillora {

TemporaryFolder TemporaryFolder::Create(const std::string& name_stem)
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / (name_stem + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw Error("Cannot create a temporary folder in " + base.string() + ": " +
                    std::strerror(errno));
    }
    return TemporaryFolder(std::filesystem::path(buffer.data()));
}

TemporaryFolder::TemporaryFolder(std::filesystem::path path)
    : path_(std::move(path)), removal_slot_(RemoveOnExit(path_.string()))
{
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : path_(std::exchange(other.path_, {})), removal_slot_(std::exchange(other.removal_slot_, -1))
{
}

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
