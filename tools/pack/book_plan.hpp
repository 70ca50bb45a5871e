#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.hpp"
#include "package_rules.hpp"
#include "page_folder.hpp"
#include "setting_checks.hpp"

namespace quillora::pack {

// The name of the settings file looked for when a folder is given as the source.
inline constexpr std::string_view SourceFileName = "book.conf";

// Everything an e-book is made of, checked: the payload lines and the page folders with the
// files that are copied from them.
struct BookPlan {
    std::vector<std::string> settings;  // exactly SettingCount values, stored form
    std::vector<std::string> menu;      // the menu definition lines that follow them
    std::vector<PlannedPageFolder> page_folders;
    std::vector<int> lines;  // source line of each payload line; 0 for a default

    // The payload text: every line followed by CR LF.
    std::string PayloadText() const;
};

struct LoadedBook {
    BookPlan plan;
    Diagnostics diagnostics;
    std::string file;       // the settings file as named in messages
    PackageValues package;  // the package fields the source sets, checked only for a package
};

// The settings file of a source given as a file or as a folder that holds book.conf.
std::filesystem::path SourceFile(const std::filesystem::path& source);

// Reads and checks a book source and walks its page folders; every problem ends up in the
// diagnostics, an unreadable file among them. The plan is complete only when there is no error.
LoadedBook LoadBook(const std::filesystem::path& source, const FolderWalkOptions& options = {});

// The same for source text already in memory; `file` names it in messages, and page paths are
// relative to `folder`.
LoadedBook CheckBookText(std::string_view text, const std::string& file, const std::filesystem::path& folder,
                         const FolderWalkOptions& options = {});

}  // namespace quillora::pack
