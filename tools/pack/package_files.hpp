#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "package_metadata.hpp"

namespace quillora::pack {

// The texts of a book's Debian package, each whole, from checked metadata.

// Where the package puts things: /usr/lib/NAME/ holds the e-book and its page folders.
std::string PackageBookFolder(const PackageMetadata& metadata);  // "usr/lib/NAME"

// DEBIAN/control. `depends` and `architecture` are those recorded with the runtime;
// `installed_kib` is the size of the files in KiB.
std::string ControlText(const PackageMetadata& metadata, std::string_view architecture, std::string_view depends,
                        std::uintmax_t installed_kib);

// /usr/share/applications/NAME.desktop: the title as its name, the summary as its comment, the
// command /usr/bin/NAME and the icon NAME of the icon theme.
std::string PackageLauncherText(const PackageMetadata& metadata);

// /usr/share/metainfo/ID.metainfo.xml (ID the component id), for software centres.
std::string MetainfoText(const PackageMetadata& metadata);

// /usr/share/doc/NAME/copyright: the book's copyright line and the runtime it is built on.
std::string CopyrightText(const PackageMetadata& metadata, std::string_view runtime_version);

// The one entry of /usr/share/doc/NAME/changelog (before compression); `date` as RFC 5322
// gives it ("Wed, 09 Dec 2026 22:00:00 +0000").
std::string ChangelogText(const PackageMetadata& metadata, std::string_view runtime_version, std::string_view date);

// /usr/share/man/man1/NAME.1 (before compression): what the command NAME does.
std::string ManPageText(const PackageMetadata& metadata);

// The text set out for the formats above.
std::string EscapeXml(std::string_view text);
std::string EscapeRoffLine(std::string_view text);
// `text` cut into lines of at most `width` bytes at blanks (a longer word stands alone).
std::vector<std::string> WrapText(std::string_view text, std::size_t width);

}  // namespace quillora::pack
