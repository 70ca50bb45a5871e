#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
bool IsValidUtf8(std::string_view bytes);
// The text with every byte sequence that is not UTF-8 replaced by U+FFFD, as displays show it.
std::string WithValidUtf8(std::string text);
// Payload text is decoded once: valid UTF-8 stays as it is, anything else is read as
// Windows-1252 and converted to UTF-8.
std::string DecodePayloadText(std::string_view bytes);
// Every byte becomes one character. The five bytes that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value, so no byte is lost.
std::string Windows1252ToUtf8(std::string_view bytes);
// The same conversion added to the end of `out`, for text assembled from many pieces.
void AppendWindows1252AsUtf8(std::string_view bytes, std::string& out);
// The size in bytes of Windows1252ToUtf8(bytes), without keeping the converted text.
std::size_t Windows1252Utf8Size(std::string_view bytes);
// UTF-8 text as Windows-1252 bytes, the inverse of Windows1252ToUtf8 (U+0081 and the other four
// control characters become their bytes again); nullopt when a character has no byte there,
// and then `first_unwritable` holds it (U+FFFD for bytes that are not UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view text, char32_t& first_unwritable);
// Where decoding met the first byte that is no character of the text's encoding.
struct StrayByte {
    std::size_t offset = 0;   // in the decoded text, where what stands for the byte begins
    unsigned char value = 0;  // the first byte of its code unit
};
struct DecodedText {
    std::string text;  // UTF-8
    std::optional<StrayByte> first_stray;
};
// Bytes in an encoding that iconv names, as UTF-8 the way a browser shows them: in Windows-1252
// the five undefined bytes become their control characters (as in Windows1252ToUtf8), in any
// other encoding each code unit that begins no character becomes U+FFFD; both count as stray.
// nullopt when no converter knows the name.
std::optional<DecodedText> DecodeToUtf8(std::string_view bytes, const std::string& encoding);
// The first `count` characters (code points) of UTF-8 text, never cutting one in half.
std::string Utf8Prefix(std::string_view text, std::size_t count);
// The number of characters (code points) of UTF-8 text.
std::size_t Utf8Length(std::string_view text);

}  // namespace quillora
