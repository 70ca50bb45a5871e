#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillora {

// The value kinds of the settings lines. Every conversion is independent of the process
// locale. A "blank" is the space character.

// Flag: first read as a floating-point number in the C locale's format: optional blanks,
// optional sign, digits with an optional full stop and fraction (or a full stop and a fraction),
// an optional exponent, optional blanks. Zero (in any spelling, "-0.0e5" too) is false, any other
// number true; no value is ever out of range, since only zero-or-not matters. Otherwise "True" or
// "False" in any letter case, without blanks. Anything else, the empty text included, fails with
// "'%s' is not a valid boolean value".
bool ToFlag(std::string_view text);
bool TryToFlag(std::string_view text, bool& value);

// Number: optional leading blanks, optional sign, then decimal digits, or hexadecimal digits
// (any letter case) after "$", "0x" or "0X". A decimal number must lie in the signed 32-bit
// range; a hexadecimal one is a 32-bit pattern ("$FFFFFFFF" is -1, "$FF00000F" a system colour)
// and is negated after a minus sign ("-$10" is -16). A number of that form outside its range
// fails with "'%s' is out of range: ..." naming the range; anything else, trailing blanks and
// the empty text included, fails with "'%s' is not a valid integer value". The Try form only
// tells whether the text converts.
std::int32_t ToNumber(std::string_view text);
bool TryToNumber(std::string_view text, std::int32_t& value);

// Toolkit colour: an identifier (clBlack, clBtnFace, ...; any letter case) or a number (as
// ToNumber, with its errors) whose value is 0x00BBGGRR; 0xFF0000nn names system colour nn.
// clNone is 0x1FFFFFFF, clDefault 0x20000000.
std::int32_t ToToolkitColour(std::string_view text);
bool TryToToolkitColour(std::string_view text, std::int32_t& value);
// The identifier of a colour value, if it has one (for writing readable sources).
bool ToolkitColourName(std::int32_t value, std::string& name);
constexpr bool IsSystemColour(std::int32_t value)
{
    return (static_cast<std::uint32_t>(value) & 0xFF000000u) == 0xFF000000u;
}
// The index nn of a system colour 0xFF0000nn.
constexpr int SystemColourIndex(std::int32_t value)
{
    return static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFu);
}

}  // namespace quillora
