#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "package_metadata.hpp"
#include "page_folder.hpp"
#include "runtime_package_facts.hpp"

namespace quillora::pack {

struct DebRequest {
    PackageMetadata metadata;   // checked
    RuntimePackageFacts facts;  // recorded with the runtime
    std::string runtime_image;  // the bare runtime program
    std::string payload_text;   // the settings and menu lines
    std::vector<PlannedPageFolder> page_folders;
    bool search_index = true;
    std::filesystem::path output;  // the .deb to write
    bool replace = false;          // an existing .deb may be replaced
    std::string runtime_version;   // the Quillora version, for the changelog
};

// NAME_VERSION_ARCH.deb, the name Debian's tools give a package file.
std::string DebFileName(const PackageMetadata& metadata, const RuntimePackageFacts& facts);

// Writes the book's Debian package: the e-book (its runtime stripped before the settings are
// appended, as the settings lie past the program's end, where strip would cut them off) and its
// page folders in /usr/lib/NAME/, the command /usr/bin/NAME linking to it, the launcher, icon,
// AppStream metadata, manual page, copyright and changelog; directories 0755, files 0644, the
// e-book 0755, all owned by root. The tree is put together in a private temporary folder and
// built with dpkg-deb into a hidden file beside the output, renamed into place when complete.
// Throws an Error that says what failed.
void WriteDebPackage(const DebRequest& request);

}  // namespace quillora::pack
