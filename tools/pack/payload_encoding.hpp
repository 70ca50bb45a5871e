#pragma once

#include <string>
#include <string_view>

#include "book_plan.hpp"
#include "command_line.hpp"
#include "diagnostics.hpp"

namespace quillora::pack {

// The payload text of a checked book in the chosen encoding. Texts that cannot be written in it
// are reported against their source lines, as is a Windows-1252 text that the runtime would
// take for UTF-8 (it keeps every text that is valid UTF-8 as it is).
std::string EncodePayload(const BookPlan& plan, OutputEncoding encoding, const std::string& file,
                          Diagnostics& diagnostics);

}  // namespace quillora::pack
