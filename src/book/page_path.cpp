#include "book/page_path.hpp"

#include <algorithm>

#include "common/error.hpp"

namespace quillora {

std::vector<std::string> SplitStoredPath(std::string_view stored_path)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start < stored_path.size()) {
        const auto backslash = stored_path.find('\\', start);
        if (backslash == std::string_view::npos) {
            components.emplace_back(stored_path.substr(start));
            break;
        }
        components.emplace_back(stored_path.substr(start, backslash - start));
        start = backslash + 1;
    }
    return components;
}

std::string_view StoredFileName(std::string_view stored_path)
{
    const auto separator = stored_path.find_last_of("\\:");
    return separator == std::string_view::npos ? stored_path : stored_path.substr(separator + 1);
}

std::string LocalPathOf(std::string_view stored_path)
{
    std::string local(stored_path);
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

std::string PagePathOf(std::string_view stored_path, const std::string& executable_folder)
{
    const auto components = SplitStoredPath(stored_path);
    const long long folder_index = static_cast<long long>(components.size()) - 2;
    if (folder_index < 0) {
        throw ListIndexOutOfBounds(folder_index);
    }
    std::string folder = components[static_cast<std::size_t>(folder_index)];
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    return executable_folder + LocalPathOf(folder) + LocalPathOf(StoredFileName(stored_path));
}

}  // namespace quillora
