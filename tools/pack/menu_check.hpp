#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.hpp"
#include "source_text.hpp"

namespace quillora::pack {

// Checks a custom menu definition the way the runtime will read it (INI sections GERAL, MENU,
// SUBMENUS and ACOES; names without regard to letter case; first "=" splits; blanks around a
// value and one pair of enclosing quotes dropped). Problems that change what the reader sees
// (gaps in the menu numbers, repeated keys, values the reader cuts short) are errors; lines the
// runtime never reads are warnings.
void CheckMenuDefinition(const std::vector<SourceMenuLine>& lines, const std::string& file,
                         Diagnostics& diagnostics);

// A caption list cut at every "-@-": a piece before a separator stays even when empty, the rest
// after the last separator only when it is not empty.
std::vector<std::string> CutCaptionList(std::string_view value);

}  // namespace quillora::pack
