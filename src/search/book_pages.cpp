#include "search/book_pages.hpp"

#include <sys/stat.h>

#include <algorithm>

#include "common/ascii_case.hpp"
#include "common/error.hpp"
#include "payload/file_handle.hpp"

namespace quillora {

namespace fs = std::filesystem;

bool IsPageName(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    for (const std::string_view page : {".htm", ".html", ".xhtml", ".xht", ".shtml"}) {
        if (EqualsIgnoringCase(extension, page)) return true;
    }
    return false;
}

std::vector<BookPage> ListBookPages(const fs::path& folder)
{
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        throw Error("cannot read the book's folder " + folder.string() + ": " + error.message());
    }
    std::vector<BookPage> pages;
    for (; walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (error) break;
        const fs::directory_entry& entry = *walk;
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.')) {
            if (entry.is_directory(error)) walk.disable_recursion_pending();
            continue;
        }
        struct stat status {};
        if (!IsPageName(name) || lstat(entry.path().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            continue;
        }
        pages.push_back({entry.path().lexically_relative(folder).generic_string(),
                         static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec)});
    }
    std::sort(pages.begin(), pages.end(), [](const BookPage& a, const BookPage& b) { return a.path < b.path; });
    return pages;
}

std::string ReadBookPage(const fs::path& file)
{
    try {
        const FileHandle handle = FileHandle::OpenReadOnly(file.string());
        std::string bytes(static_cast<std::size_t>(handle.Size()), '\0');
        handle.ReadExactly(0, bytes);
        return bytes;
    } catch (const IoError&) {
        return {};
    }
}

}  // namespace quillora
