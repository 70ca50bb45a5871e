#include "actions/book_paths.hpp"

#include "book/page_path.hpp"
#include "common/ascii_case.hpp"
#include "common/error.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

std::string WithTrailing(std::string_view text, char separator)
{
    std::string result(text);
    if (!result.empty() && result.back() != separator) {
        result += separator;
    }
    return result;
}

// Replaces every occurrence found left to right in the original text; what is inserted is not
// searched again.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    const std::string lower_text = AsciiLowerCopy(text);
    const std::string lower_pattern = AsciiLowerCopy(pattern);
    std::string result;
    std::size_t from = 0;
    for (auto at = lower_text.find(lower_pattern); at != std::string::npos; at = lower_text.find(lower_pattern, from)) {
        result.append(text.substr(from, at - from)).append(replacement);
        from = at + pattern.size();
    }
    return result.append(text.substr(from));
}

}  // namespace

std::string RebaseBookPath(std::string_view home_path, std::string_view authored_path)
{
    // The home path's folder part, without one trailing backslash.
    const auto folder_end = home_path.find_last_of("\\:");
    std::string_view folder =
        folder_end == std::string_view::npos ? std::string_view() : home_path.substr(0, folder_end + 1);
    if (!folder.empty() && folder.back() == '\\') {
        folder.remove_suffix(1);
    }
    // The name of the folder holding the home page: the last-but-one stored component.
    const auto components = SplitStoredPath(home_path);
    const long long folder_name_index = static_cast<long long>(components.size()) - 2;
    if (folder_name_index < 0) {
        throw ListIndexOutOfBounds(folder_name_index);
    }
    const std::string& folder_name = components[static_cast<std::size_t>(folder_name_index)];

    const auto folder_length = static_cast<long long>(Utf8Length(folder));
    const auto name_length = static_cast<long long>(Utf8Length(folder_name));
    const long long skip = folder_length - name_length;
    if (skip <= 0) {
        return std::string(authored_path);
    }
    const std::size_t cut = Utf8Prefix(authored_path, static_cast<std::size_t>(skip)).size();
    return std::string(authored_path.substr(cut));
}

std::string WithTrailingBackslash(std::string_view text)
{
    return WithTrailing(text, '\\');
}

std::string WithTrailingSlash(std::string_view text)
{
    return WithTrailing(text, '/');
}

std::string WindowsFolder()
{
    return "/usr";
}

std::string SystemFolder()
{
    return "/usr/bin";
}

MacroFolders MacroFoldersFor(std::string_view executable_folder)
{
    return {WithTrailingSlash(executable_folder), WithTrailingSlash(WindowsFolder()),
            WithTrailingSlash(SystemFolder())};
}

std::string ExpandPathMacros(std::string_view file_name, const MacroFolders& folders)
{
    std::string expanded = ReplaceAllIgnoringCase(file_name, "[Dir]", folders.program);
    expanded = ReplaceAllIgnoringCase(expanded, "[WindowsDir]", folders.windows);
    return ReplaceAllIgnoringCase(expanded, "[SystemDir]", folders.system);
}

}  // namespace quillora
