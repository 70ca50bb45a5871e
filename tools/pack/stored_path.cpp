#include "stored_path.hpp"

#include "book/page_path.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

std::variant<ResolvedPage, std::string> CheckNames(ResolvedPage page)
{
    if (page.file_name.empty()) {
        return std::string("names a folder, not a page");
    }
    if (page.file_name == "." || page.file_name == "..") {
        return std::string("names a folder, not a page");
    }
    if (page.folder_name.empty() || page.folder_name == "." || page.folder_name == "..") {
        return std::string("names no page folder; keep the pages in a folder, such as "
                           "pages/index.html");
    }
    if (page.folder_name.find('\\') != std::string::npos) {
        return std::string("the page folder's name holds '\\'");
    }
    return page;
}

std::variant<ResolvedPage, std::string> ResolveStored(std::string_view value, const fs::path& source_folder)
{
    if (value.find('/') != std::string_view::npos) {
        return std::string("mixes '/' and '\\'; write pages/index.html");
    }
    // The runtime keeps the last folder name and the file name of a stored path.
    const auto parts = SplitStoredPath(value);
    if (parts.size() < 2) {
        return std::string("names no page folder; keep the pages in a folder, such as "
                           "pages/index.html");
    }
    ResolvedPage page;
    page.stored = std::string(value);
    page.folder_name = parts[parts.size() - 2];
    page.file_name = std::string(StoredFileName(value));
    page.local_folder = source_folder / page.folder_name;
    return CheckNames(std::move(page));
}

std::variant<ResolvedPage, std::string> ResolveLocal(std::string_view value, const fs::path& source_folder)
{
    const fs::path written{std::string(value)};
    if (!written.has_filename() || written.filename() == "." || written.filename() == "..") {
        return std::string("names a folder, not a page");
    }
    const fs::path written_normal = written.lexically_normal();
    if (written.is_relative() && !written_normal.has_parent_path()) {
        return std::string("names no page folder; keep the pages in a folder, such as "
                           "pages/index.html");
    }
    const fs::path local = (source_folder / written).lexically_normal();
    ResolvedPage page;
    page.file_name = local.filename().string();
    page.local_folder = local.parent_path();
    page.folder_name = page.local_folder.filename().string();
    if (page.file_name.find(':') != std::string::npos) {
        return std::string("a page name cannot hold ':'");
    }
    page.stored = std::string(StoredPathRoot) + page.folder_name + '\\' + page.file_name;
    return CheckNames(std::move(page));
}

}  // namespace

std::variant<ResolvedPage, std::string> ResolvePagePath(std::string_view value, const fs::path& source_folder)
{
    if (value.empty()) {
        return std::string("names no page");
    }
    if (value.find('\\') != std::string_view::npos) {
        return ResolveStored(value, source_folder);
    }
    return ResolveLocal(value, source_folder);
}

std::string SourceFormOfStoredPath(std::string_view stored)
{
    if (!stored.starts_with(StoredPathRoot)) {
        return std::string(stored);
    }
    const auto rest = stored.substr(StoredPathRoot.size());
    const auto split = rest.find('\\');
    if (split == std::string_view::npos || rest.find('\\', split + 1) != std::string_view::npos) {
        return std::string(stored);
    }
    const auto folder = rest.substr(0, split);
    const auto file = rest.substr(split + 1);
    const bool plain = !folder.empty() && !file.empty() && folder != "." && folder != ".." && file != "." &&
                       file != ".." && rest.find_first_of("/:") == std::string_view::npos;
    if (!plain) {
        return std::string(stored);
    }
    return std::string(folder) + '/' + std::string(file);
}

}  // namespace quillora::pack
