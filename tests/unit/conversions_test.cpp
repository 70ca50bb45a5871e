// The value kinds of the settings lines: flags, numbers and toolkit colours, with their errors.

#include <gtest/gtest.h>

#include <cstdint>
#include <locale>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "payload/conversions.hpp"

namespace quillora {
namespace {

template <typename Operation>
std::string ErrorOf(Operation operation)
{
    try {
        operation();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

TEST(ToFlag, NumbersAndWords)
{
    // text -> value
    const std::vector<std::pair<std::string, bool>> cases = {
        {"-1", true},     {"1", true},    {"7", true},    {"+1", true},        {"0.5", true},    {".5", true},
        {"5.", true},     {"1e3", true},  {"1E3", true},  {"1e+3", true},      {"-0.001", true}, {"1e-999", true},
        {"1e999", true},  {"  1", true},  {"1  ", true},  {"0", false},        {"-0", false},    {"+0", false},
        {"0.0", false},   {"000", false}, {"0e5", false}, {"0.000e-3", false}, {" 0 ", false},   {"True", true},
        {"TRUE", true},   {"true", true}, {"tRuE", true}, {"False", false},    {"FALSE", false}, {"false", false},
        {"fAlSe", false},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ToFlag(text), value);
        bool tried = !value;
        EXPECT_TRUE(TryToFlag(text, tried));
        EXPECT_EQ(tried, value);
    }
}

TEST(ToFlag, AnythingElseIsAnError)
{
    // Neither a C-locale number nor a word; the blanks around a word are not skipped.
    for (const std::string& text : std::vector<std::string>{
             "",    " ",  "yes", "no",  "on",  "1,5", "1e",    "e3",    ".",     "+", "-", "- 1",  "1 1",
             "0x1", "$1", "inf", "nan", "1\t", "\t1", " true", "true ", "Truee", "T", "F", "1.2.3"}) {
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(ErrorOf([&] { (void)ToFlag(text); }), "'" + text + "' is not a valid boolean value");
        bool untouched = true;
        EXPECT_FALSE(TryToFlag(text, untouched));
        EXPECT_TRUE(untouched);
    }
}

// A process locale with a decimal comma must not change how settings are read.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(ToFlag, IgnoresTheProcessLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const bool half = ToFlag("0.5");
    const std::string comma_error = ErrorOf([] { (void)ToFlag("0,5"); });
    std::locale::global(previous);
    EXPECT_TRUE(half);
    EXPECT_EQ(comma_error, "'0,5' is not a valid boolean value");
}

TEST(ToNumber, DecimalAndHexadecimal)
{
    // text -> value
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"0", 0},
        {"123", 123},
        {"-123", -123},
        {"+42", 42},
        {"007", 7},
        {"   7", 7},
        {" -7", -7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"00000000002147483647", INT32_MAX},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$0000000000FF", 255},
        {"-$10", -16},
        {"+$10", 16},
        {"-0x10", -16},
        {" $A", 10},
        // A hexadecimal number is a 32-bit pattern.
        {"$7FFFFFFF", INT32_MAX},
        {"$80000000", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$FF00000F", static_cast<std::int32_t>(0xFF00000Fu)},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ToNumber(text), value);
        std::int32_t tried = value ^ 1;
        EXPECT_TRUE(TryToNumber(text, tried));
        EXPECT_EQ(tried, value);
    }
}

TEST(ToNumber, AnythingElseIsAnError)
{
    for (const std::string& text :
         std::vector<std::string>{"", " ", "7 ", "7\t", "\t7", "$", "0x", "-", "+", "--1", "+-1", "- 1", "1.0", "1e3",
                                  "abc", "12a", "$G", "0x-1", "x10", "#FF", "#C0C0C0", "$ FF", "0 x1",
                                  // too many digits, but not a number either
                                  "99999999999x", "99999999999 ", "$1FFFFFFFFG"}) {
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(ErrorOf([&] { (void)ToNumber(text); }), "'" + text + "' is not a valid integer value");
        std::int32_t untouched = 99;
        EXPECT_FALSE(TryToNumber(text, untouched));
        EXPECT_EQ(untouched, 99);
    }
}

TEST(ToNumber, NumbersOutsideTheirRangeSayTheRange)
{
    const std::string decimal = " is out of range: an integer value lies between -2147483648 and 2147483647";
    const std::string hex = " is out of range: a hexadecimal value lies between 0 and FFFFFFFF";
    // text -> error, the same from a number setting and from a toolkit colour
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"2147483648", decimal},  {"-2147483649", decimal},
        {"99999999999", decimal}, {" +99999999999999999999999999", decimal},
        {"$100000000", hex},      {"-0x1FFFFFFFF", hex},
    };
    for (const auto& [text_, error] : cases) {
        const std::string& text = text_;  // a lambda may not capture a structured binding in clang 14
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorOf([&] { (void)ToNumber(text); }), "'" + text + "'" + error);
        EXPECT_EQ(ErrorOf([&] { (void)ToToolkitColour(text); }), "'" + text + "'" + error);
        std::int32_t untouched = 99;
        EXPECT_FALSE(TryToNumber(text, untouched));
        EXPECT_EQ(untouched, 99);
    }
}

struct ColourCase {
    const char* name;
    std::uint32_t value;
};

// Every identifier with its value: fixed colours 0x00BBGGRR, system colours 0xFF0000nn.
const ColourCase AllColours[] = {
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
    {"clScrollBar", 0xFF000000},
    {"clBackground", 0xFF000001},
    {"clActiveCaption", 0xFF000002},
    {"clInactiveCaption", 0xFF000003},
    {"clMenu", 0xFF000004},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clMenuText", 0xFF000007},
    {"clWindowText", 0xFF000008},
    {"clCaptionText", 0xFF000009},
    {"clActiveBorder", 0xFF00000A},
    {"clInactiveBorder", 0xFF00000B},
    {"clAppWorkSpace", 0xFF00000C},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clBtnFace", 0xFF00000F},
    {"clBtnShadow", 0xFF000010},
    {"clGrayText", 0xFF000011},
    {"clBtnText", 0xFF000012},
    {"clInactiveCaptionText", 0xFF000013},
    {"clBtnHighlight", 0xFF000014},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clInfoText", 0xFF000017},
    {"clInfoBk", 0xFF000018},
    {"clHotLight", 0xFF00001A},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuBar", 0xFF00001E},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

std::string Upper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

TEST(ToToolkitColour, EveryIdentifierInAnyLetterCase)
{
    for (const ColourCase& c : AllColours) {
        SCOPED_TRACE(c.name);
        const auto value = static_cast<std::int32_t>(c.value);
        EXPECT_EQ(ToToolkitColour(c.name), value);
        EXPECT_EQ(ToToolkitColour(Upper(c.name)), value);
        EXPECT_EQ(IsSystemColour(value), (c.value >> 24) == 0xFF);
        std::string name;
        ASSERT_TRUE(ToolkitColourName(value, name));
        EXPECT_EQ(name, c.name);
    }
    EXPECT_EQ(SystemColourIndex(ToToolkitColour("clBtnFace")), 15);
    EXPECT_EQ(SystemColourIndex(ToToolkitColour("clMenuBar")), 30);
}

TEST(ToToolkitColour, NumbersAreRead0x00BBGGRR)
{
    // text -> value
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {"$FF", 0x0000FF},                                                             // red
        {"$FF0000", 0xFF0000},                                                         // blue
        {"255", 0x0000FF},         {"0xC0C0C0", 0xC0C0C0}, {"$FF00000F", 0xFF00000F},  // the button face as a number
        {"-16777201", 0xFF00000F},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ToToolkitColour(text), static_cast<std::int32_t>(value));
    }
}

TEST(ToToolkitColour, WebColoursAndUnknownNamesFailAsIntegers)
{
    for (const std::string text : {"#C0C0C0", "clPink", "", "clBlack ", " clBlack", "black", "cl"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorOf([&] { (void)ToToolkitColour(text); }), "'" + text + "' is not a valid integer value");
    }
}

TEST(ToolkitColourName, ValuesWithoutAnIdentifierHaveNone)
{
    std::string name = "unchanged";
    EXPECT_FALSE(ToolkitColourName(0x123456, name));
    EXPECT_FALSE(ToolkitColourName(static_cast<std::int32_t>(0xFF000019u), name));  // no index 25
    EXPECT_EQ(name, "unchanged");
}

}  // namespace
}  // namespace quillora
