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
void CheckMenuDefinition(const std::vector<SourceMenuLine>& lines, const std::string& file,
                         Diagnostics& diagnostics);

}  // namespace quillora::pack
