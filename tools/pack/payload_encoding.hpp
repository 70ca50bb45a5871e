#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "book_plan.hpp"
#include "command_line.hpp"
#include "diagnostics.hpp"

namespace quillora::pack {

// UTF-8 text as Windows-1252 bytes; nullopt when a character has no byte there, and then
// `first_unwritable` holds it. The five bytes that Windows-1252 leaves undefined are written for
// the control characters of the same value, as the runtime reads them back.
std::optional<std::string> Utf8ToWindows1252(std::string_view text, char32_t& first_unwritable);

// The payload text of a checked book in the chosen encoding. Texts that cannot be written in it
// are reported against their source lines, as is a Windows-1252 text that the runtime would
// take for UTF-8 (it keeps every text that is valid UTF-8 as it is).
std::string EncodePayload(const BookPlan& plan, OutputEncoding encoding, const std::string& file,
                          Diagnostics& diagnostics);

}  // namespace quillora::pack
