#include "book/book_links.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillora {

namespace fs = std::filesystem;

namespace {

bool IsWithin(const fs::path& path, const fs::path& folder)
{
    const auto [end_of_folder, where] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end_of_folder == folder.end();
}

}  // namespace

BookLinks FindBookLinks(const std::string& folder)
{
    BookLinks links;
    std::error_code error;
    const fs::path root = fs::canonical(folder, error);
    if (error) {
        return links;
    }
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (!walk->is_symlink(error) || error) {
            error.clear();
            continue;
        }
        const std::string relative = walk->path().lexically_relative(root).string();
        const fs::path target = fs::canonical(walk->path(), error);
        if (error || !IsWithin(target, root)) {
            links.leading_out.push_back(relative);
        } else if (fs::is_directory(target, error)) {
            links.folders_inside.push_back(relative);
        }
        error.clear();
    }
    return links;
}

}  // namespace quillora
