#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "book_plan.hpp"
#include "diagnostics.hpp"
#include "package_rules.hpp"

namespace quillora::pack {

// What a book's Debian package says about it, taken from the command line, the book source's
// package fields, or else the book's own settings.
struct PackageMetadata {
    std::string name;
    std::string version;
    std::string maintainer;                // "Name <address>"
    std::string summary;                   // one line, no full stop at its end
    std::vector<std::string> description;  // the about box's description, line by line
    std::string title;
    std::string web_address;  // may be empty
    std::string copyright;    // the about box's copyright line; may be empty
};

// Takes every field from where it is given and checks it by Debian's rules, each problem added
// to `diagnostics` as FILE:LINE at the line that gave the value: a package field, or the setting
// it was taken from (title, about_version, about_email, about_description). A value that breaks
// a rule is named with a suggestion when one can be made. The metadata is usable only when no
// error was added.
PackageMetadata ResolvePackageMetadata(const LoadedBook& book, const PackageOverrides& overrides,
                                       Diagnostics& diagnostics);

// The option that sets a field on the command line: "--package-name" and so on.
std::string PackageFieldOption(PackageField field);

// The AppStream component id: reverse-DNS from the host of the web address, or else of the
// maintainer's address, then the package name; characters that an id may not hold become '_'
// ("https://atlas.example.org" and "atlas-book" -> "org.example.atlas.atlas_book").
std::string ComponentId(const PackageMetadata& metadata);

}  // namespace quillora::pack
