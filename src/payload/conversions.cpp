#include "payload/conversions.hpp"

#include <limits>
#include <optional>

#include "common/ascii_case.hpp"
#include "common/error.hpp"
#include "common/percent_escape.hpp"

namespace quillora {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a floating-point number and tells only whether it is non-zero: a number is zero exactly
// when all digits of its mantissa are zero, whatever its exponent says. nullopt: not a number.
std::optional<bool> ReadNumberIsNonZero(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    bool non_zero = false;
    while (i < n && IsDigit(text[i])) {
        non_zero = non_zero || text[i] != '0';
        ++digits;
        ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            non_zero = non_zero || text[i] != '0';
            ++digits;
            ++i;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponent_digits = 0;
        while (i < n && IsDigit(text[i])) {
            ++exponent_digits;
            ++i;
        }
        if (exponent_digits == 0) {
            return std::nullopt;
        }
    }
    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    return non_zero;
}

std::string Quoted(std::string_view text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    quoted += text;
    quoted += '\'';
    return quoted;
}

struct NamedColour {
    std::string_view name;
    std::uint32_t value;
};

constexpr std::uint32_t System(std::uint32_t index)
{
    return 0xFF000000u | index;
}

constexpr NamedColour Colours[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", System(0)},
    {"clBackground", System(1)},
    {"clActiveCaption", System(2)},
    {"clInactiveCaption", System(3)},
    {"clMenu", System(4)},
    {"clWindow", System(5)},
    {"clWindowFrame", System(6)},
    {"clMenuText", System(7)},
    {"clWindowText", System(8)},
    {"clCaptionText", System(9)},
    {"clActiveBorder", System(10)},
    {"clInactiveBorder", System(11)},
    {"clAppWorkSpace", System(12)},
    {"clHighlight", System(13)},
    {"clHighlightText", System(14)},
    {"clBtnFace", System(15)},
    {"clBtnShadow", System(16)},
    {"clGrayText", System(17)},
    {"clBtnText", System(18)},
    {"clInactiveCaptionText", System(19)},
    {"clBtnHighlight", System(20)},
    {"cl3DDkShadow", System(21)},
    {"cl3DLight", System(22)},
    {"clInfoText", System(23)},
    {"clInfoBk", System(24)},
    {"clHotLight", System(26)},
    {"clGradientActiveCaption", System(27)},
    {"clGradientInactiveCaption", System(28)},
    {"clMenuHighlight", System(29)},
    {"clMenuBar", System(30)},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

}  // namespace

bool TryToFlag(std::string_view text, bool& value)
{
    if (const auto non_zero = ReadNumberIsNonZero(text)) {
        value = *non_zero;
        return true;
    }
    if (EqualsIgnoringCase(text, "True")) {
        value = true;
        return true;
    }
    if (EqualsIgnoringCase(text, "False")) {
        value = false;
        return true;
    }
    return false;
}

bool ToFlag(std::string_view text)
{
    bool value = false;
    if (!TryToFlag(text, value)) {
        throw Error(Quoted(text) + " is not a valid boolean value");
    }
    return value;
}

namespace {

enum class NumberReading { Value, NotANumber, OutOfRange };

struct ReadNumberResult {
    NumberReading reading = NumberReading::NotANumber;
    bool hex = false;
};

// Reads the number form of ToNumber. Every digit is looked at before a number is called out of
// range, so that "99999999999x" is not a number rather than a number too large.
ReadNumberResult ReadNumber(std::string_view text, std::int32_t& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    ReadNumberResult result;
    if (i < n && text[i] == '$') {
        result.hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        result.hex = true;
        i += 2;
    }
    if (i == n) {
        return result;
    }
    // The magnitude stops growing at the first digit past the limit, so 64 bits suffice.
    std::uint64_t magnitude = 0;
    bool too_large = false;
    const std::uint64_t limit = result.hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < n; ++i) {
        const int digit = result.hex ? HexDigitValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) {
            return result;
        }
        if (!too_large) {
            magnitude = magnitude * (result.hex ? 16u : 10u) + static_cast<unsigned>(digit);
            too_large = magnitude > limit;
        }
    }
    if (too_large) {
        result.reading = NumberReading::OutOfRange;
        return result;
    }
    // Two's complement on 32 bits: a hexadecimal pattern keeps its bits, a minus sign negates.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) {
        bits = 0u - bits;
    }
    value = static_cast<std::int32_t>(bits);
    result.reading = NumberReading::Value;
    return result;
}

// The error of a text that ReadNumber did not turn into a value.
Error NumberError(std::string_view text, const ReadNumberResult& result)
{
    if (result.reading != NumberReading::OutOfRange) {
        return Error(Quoted(text) + " is not a valid integer value");
    }
    const char* range = result.hex ? "a hexadecimal value lies between 0 and FFFFFFFF"
                                   : "an integer value lies between -2147483648 and 2147483647";
    return Error(Quoted(text) + " is out of range: " + range);
}

}  // namespace

bool TryToNumber(std::string_view text, std::int32_t& value)
{
    return ReadNumber(text, value).reading == NumberReading::Value;
}

std::int32_t ToNumber(std::string_view text)
{
    std::int32_t value = 0;
    const ReadNumberResult result = ReadNumber(text, value);
    if (result.reading != NumberReading::Value) {
        throw NumberError(text, result);
    }
    return value;
}

bool TryToToolkitColour(std::string_view text, std::int32_t& value)
{
    for (const NamedColour& colour : Colours) {
        if (EqualsIgnoringCase(text, colour.name)) {
            value = static_cast<std::int32_t>(colour.value);
            return true;
        }
    }
    return TryToNumber(text, value);
}

std::int32_t ToToolkitColour(std::string_view text)
{
    std::int32_t value = 0;
    if (TryToToolkitColour(text, value)) {
        return value;
    }
    // Not a colour name: the number's own error.
    return ToNumber(text);
}

bool ToolkitColourName(std::int32_t value, std::string& name)
{
    for (const NamedColour& colour : Colours) {
        if (static_cast<std::int32_t>(colour.value) == value) {
            name = colour.name;
            return true;
        }
    }
    return false;
}

}  // namespace quillora
