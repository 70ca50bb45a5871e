#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

// Hexadecimal digits and the "%XX" escapes of addresses.

// The value of a hexadecimal digit in either letter case; -1 for any other character.
constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The byte of the escape "%XX" that starts at `at`, if one does.
constexpr std::optional<unsigned char> EscapedByte(std::string_view text, std::size_t at)
{
    if (at + 2 >= text.size() || text[at] != '%') {
        return std::nullopt;
    }
    const int high = HexDigitValue(text[at + 1]);
    const int low = HexDigitValue(text[at + 2]);
    if (high < 0 || low < 0) {
        return std::nullopt;
    }
    return static_cast<unsigned char>(high << 4 | low);
}

// Every "%XX" escape decoded; a percent sign that begins none stays as it is.
inline std::string PercentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const auto byte = EscapedByte(text, i)) {
            decoded += static_cast<char>(*byte);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace quillora
