#pragma once

#include <string>
#include <string_view>

namespace quillora {

bool IsValidUtf8(std::string_view bytes);
// Payload text is decoded once: valid UTF-8 stays as it is, anything else is read as
// Windows-1252 and converted to UTF-8.
std::string DecodePayloadText(std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);
// The first `count` characters (code points) of UTF-8 text, never cutting one in half.
std::string Utf8Prefix(std::string_view text, std::size_t count);
std::size_t Utf8Length(std::string_view text);

}  // namespace quillora
