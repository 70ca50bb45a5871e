#include "book/self_path.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/error.hpp"

namespace quillora {

std::string ProgramPath()
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw IoError("I/O error " + std::to_string(error.value()));
    }
    return path.string();
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool RegularFileWithin(const std::string& folder, const std::string& path)
{
    if (!RegularFileExists(path)) {
        return false;
    }
    std::error_code error;
    const auto file = std::filesystem::canonical(path, error);
    if (error) {
        return false;
    }
    const auto home = std::filesystem::canonical(folder, error);
    if (error) {
        return false;
    }
    const auto [home_end, file_at] = std::mismatch(home.begin(), home.end(), file.begin(), file.end());
    return home_end == home.end() && file_at != file.end();
}

std::string OwnFileErrorText(const std::string& path, const IoError& error)
{
    if (error.Code() == 0) {
        return error.what();
    }
    return "The book cannot read its own file " + path + ": " + std::strerror(error.Code());
}

bool RegularFileExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace quillora
