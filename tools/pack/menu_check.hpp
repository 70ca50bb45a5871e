#pragma once

#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "source_text.hpp"

namespace quillora::pack {

// Checks a custom menu definition with the runtime's own profile reader and menu model, so that
// the tool and the e-book never disagree about what a definition means. Problems that change
// what the reader sees (gaps in the menu numbers, repeated keys or sections, values the reader
// cuts short, broken headers) are errors; lines and keys the menu never reads are warnings.
void CheckMenuDefinition(const std::vector<SourceMenuLine>& lines, const std::string& file, Diagnostics& diagnostics);

// The action of a menu item, with the source line that gives it.
struct MenuAction {
    std::string item;  // MENUx0_1
    std::string action;
    int line = 0;
};

// The actions that the menu built from `lines` can run: those of items that exist.
std::vector<MenuAction> MenuActions(const std::vector<SourceMenuLine>& lines);

}  // namespace quillora::pack
