#pragma once

#include <filesystem>
#include <string>

#include "payload/settings_list.hpp"

namespace quillora::pack {

// The book source that gives back these payload lines when packed: every setting in the order
// of the e-book (unused lines only when they hold something), page paths in the form the source
// takes them, and the menu definition below the [[menu]] line as it stands.
std::string DumpSource(const SettingsList& lines);

// The payload lines of an e-book file; an Error when the file carries none or cannot be read.
SettingsList ReadBookLines(const std::filesystem::path& book);

}  // namespace quillora::pack
