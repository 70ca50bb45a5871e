#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

// Flag: a number in the C locale's format (full stop as decimal separator; zero is false, any
// other value true), else "True"/"False" in any letter case. Anything else fails with
// "'%s' is not a valid boolean value".
bool ToFlag(std::string_view text);
// Number: optional leading blanks, optional sign, decimal digits, or hexadecimal after "$" or
// "0x". Anything else, trailing blanks and 32-bit overflow included, fails with
// "'%s' is not a valid integer value".
std::int32_t ToNumber(std::string_view text);
bool TryToNumber(std::string_view text, std::int32_t& value);

// Toolkit colour: an identifier (clBlack, clBtnFace, ...; any letter case) or a number whose
// value is 0x00BBGGRR; 0xFF0000nn names system colour nn.
std::int32_t ToToolkitColour(std::string_view text);
// The identifier of a colour value, if it has one (for writing readable sources).
bool ToolkitColourName(std::int32_t value, std::string& name);
constexpr bool IsSystemColour(std::int32_t value)
{
    return (static_cast<std::uint32_t>(value) & 0xFF000000u) == 0xFF000000u;
}

}  // namespace quillora
