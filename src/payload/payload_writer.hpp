#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

// Appends `text` and a trailer locating it to the bytes of an executable image: the signature,
// data_offset = the image's length, data_length = the text's length. Fails with an Error when
// the image and the text together would not fit the trailer's signed 32-bit fields.
std::string AppendPayload(std::string_view executable_image, std::string_view text);

// The 24-byte trailer alone, for tests and tools that place the text themselves.
std::string MakeTrailer(std::int32_t data_offset, std::int32_t data_length);

}  // namespace quillora
