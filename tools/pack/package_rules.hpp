#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillora::pack {

// The fields of a book's Debian package that an author may set in the book source (as
// `package_name = ...` and so on) or on the command line. None of them goes into the e-book.
enum class PackageField { Name, Version, Maintainer, Summary };
inline constexpr std::size_t PackageFieldCount = 4;

// "package_name", "package_version", "package_maintainer", "package_summary".
std::string_view PackageFieldKey(PackageField field);
std::optional<PackageField> FindPackageField(std::string_view key);

// A package field as the book source gives it.
struct PackageValue {
    std::string value;
    int line = 0;
};
using PackageValues = std::array<std::optional<PackageValue>, PackageFieldCount>;
// The package fields given on the command line, which win over the book source's.
using PackageOverrides = std::array<std::optional<std::string>, PackageFieldCount>;

// What is wrong with each field by Debian's rules, in words that follow "the package name ...";
// nullopt when nothing is.
//   name: lower-case letters, digits, '+', '-' and '.', at least two, the first a letter or digit;
//   version: an upstream version alone (no epoch, no revision): letters, digits, '.', '+' and
//     '~', starting with a digit;
//   maintainer: "Name <address>", with one '@' in the address and no ',' in the name (a comma
//     would make it a list);
//   summary: one line of at most 80 characters.
std::optional<std::string> PackageNameProblem(std::string_view name);
std::optional<std::string> PackageVersionProblem(std::string_view version);
std::optional<std::string> MaintainerProblem(std::string_view maintainer);
std::optional<std::string> SummaryProblem(std::string_view summary);

// A valid package name made from any text, such as a title ("My Atlas" -> "my-atlas"): ASCII
// letters lowered, every run of other characters one '-'. Empty when too little is left.
std::string SuggestPackageName(std::string_view text);

// A valid version found in a text such as an about box's version line ("Edition 1.0" -> "1.0"):
// the first run of version characters that starts with a digit. Empty when there is none.
std::string SuggestPackageVersion(std::string_view text);

// The name and the address of a maintainer "Name <address>" (both empty when it is not one).
struct MaintainerParts {
    std::string name;
    std::string address;
};
MaintainerParts SplitMaintainer(std::string_view maintainer);

// `text` without the blanks and tabs at its ends.
std::string_view Trim(std::string_view text);

}  // namespace quillora::pack
