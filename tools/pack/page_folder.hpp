#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "setting_checks.hpp"

namespace quillora::pack {

struct FolderWalkOptions {
    bool include_hidden = false;  // copy names that start with "." too
    // Links to folders inside the page folder are copied as folders, so a few of them can make a
    // small folder look endless (two links in each folder to the next one double it at every
    // level). The walk stops with an error once this many files and folders come through links.
    std::size_t most_linked_entries = 10'000;
};

// One thing copied into the e-book's page folder.
struct FolderEntry {
    std::filesystem::path from;      // what is read: the file or folder itself, or a link's target
    std::filesystem::path relative;  // where it lands, relative to the page folder
    bool is_folder = false;
    dev_t device = 0;  // a file as the walk found it: the copy reads only this one
    ino_t inode = 0;
};

// Something in the page folder that stays out of the e-book, and why.
struct LeftOut {
    std::filesystem::path relative;
    std::string reason;  // "a hidden file (...)", "a link to /etc/passwd, outside the page folder"
};

// A page folder with the result of one walk through it: exactly what packing copies. --check
// and packing both report the walk's problems, so they cannot disagree about a folder.
struct PlannedPageFolder : PageFolder {
    std::vector<FolderEntry> entries;  // each folder before what it holds
    std::vector<LeftOut> left_out;     // a hidden folder counts once, its contents not at all

    // Why `relative` stays out of the e-book, or nothing when it is copied or does not exist.
    std::optional<std::string> WhyLeftOut(const std::filesystem::path& relative) const;
};

// Walks a page folder and decides what goes into the e-book. Nothing outside the folder is ever
// taken: hidden names are left out unless asked for; a symlink is copied as what it points to
// when that lies inside the folder, and is left out when it leads outside, leads nowhere or
// leads back into a folder that holds it; pipes, sockets and devices are left out. Each of
// these is a warning that names the path; a file or folder that cannot be read is an error.
// A page folder that does not exist gives an empty plan (the page settings report it).
PlannedPageFolder PlanPageFolder(const PageFolder& folder, const FolderWalkOptions& options, Diagnostics& diagnostics);

// Copies what the plan holds into `destination`, a folder that does not exist yet. A file that
// is no longer the one the walk found (swapped for a link to elsewhere, say) is not copied. A
// failure (such a file, a vanished one, a full disk) is thrown as an Error that names the file.
void CopyPageFolder(const PlannedPageFolder& plan, const std::filesystem::path& destination);

}  // namespace quillora::pack
