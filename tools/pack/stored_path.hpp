#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace quillora::pack {

// Every page path this tool writes starts here. The runtime keeps only the last folder name and
// the file name of a stored path and looks for them beside its executable, so the prefix is the
// same fixed text for every book; a page loaded with LOADHTML is written with it too
// (C:\Quillora\pages\maps.html).
inline constexpr std::string_view StoredPathRoot = "C:\\Quillora\\";

// A page named in the source, in both of its forms.
struct ResolvedPage {
    std::string stored;                  // what the e-book holds: C:\Quillora\pages\index.html
    std::filesystem::path local_folder;  // the page folder on this machine
    std::string folder_name;             // its name beside the e-book: pages
    std::string file_name;               // index.html
    std::filesystem::path LocalFile() const { return local_folder / file_name; }
};

// A page path as the source gives it:
//   - with "/" (or no separator), relative to the source folder or absolute: pages/index.html;
//   - with "\": a stored path kept as it is, such as a dump of another e-book prints it; its last
//     folder is then looked for in the source folder, as the runtime looks beside itself.
// The result is the page or a message that says why the text names no page.
std::variant<ResolvedPage, std::string> ResolvePagePath(std::string_view value,
                                                        const std::filesystem::path& source_folder);

// The source form of a stored path: folder/file for a path this tool wrote, otherwise the
// stored text as it is, which ResolvePagePath keeps unchanged.
std::string SourceFormOfStoredPath(std::string_view stored);

}  // namespace quillora::pack
