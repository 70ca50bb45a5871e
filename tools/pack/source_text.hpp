#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.hpp"
#include "package_rules.hpp"

namespace quillora::pack {

// The line that ends the settings and starts the custom menu definition. Two brackets, so that
// it can never be mistaken for one of the definition's own sections ([MENU] among them).
inline constexpr std::string_view MenuMarker = "[[menu]]";

// One "name = value" line, its value already unquoted.
struct SourceSetting {
    int line = 0;
    int index = 0;  // the setting's line in the e-book
    std::string value;
};

// One line below the menu marker, copied as written.
struct SourceMenuLine {
    int line = 0;
    std::string text;
};

struct BookSourceText {
    std::vector<SourceSetting> settings;  // in file order, each setting at most once
    bool has_menu = false;
    int menu_marker_line = 0;
    std::vector<SourceMenuLine> menu;
    PackageValues package;  // the authoring tool's package fields, which the e-book never holds
};

// Reads a book source. Every problem (bad syntax, unknown or repeated names, text that is not
// UTF-8) is added to `diagnostics` under `file`; the lines that could be read are still returned,
// so that one run reports all problems at once.
BookSourceText ParseBookSource(std::string_view text, const std::string& file, Diagnostics& diagnostics);

// The source form of a value: as it is, or in double quotes when reading it back unquoted would
// change it (empty, blanks at either end, or a leading double quote).
std::string SourceValue(std::string_view value);

// Text split at LF with the CR of a CR LF removed; a final line end adds no empty line.
std::vector<std::string> SplitSourceLines(std::string_view text);

}  // namespace quillora::pack
