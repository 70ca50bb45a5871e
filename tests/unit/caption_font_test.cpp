#include "appearance/caption_font.hpp"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "common/error.hpp"
#include "payload/conversions.hpp"

namespace quillora {
namespace {

using namespace std::string_literals;

TEST(FieldOfSeparatedText, PicksTheNthField)
{
    struct Case {
        int n;
        std::string_view separator;
        std::string text;
        std::string field;
    };
    // (n, separator, text) -> field
    const Case cases[] = {
        {1, ",", "Arial,12,clRed,Negrito", "Arial"},
        {4, ",", "Arial,12,clRed,Negrito", "Negrito"},
        {5, ",", "Arial,12,clRed,Negrito", ""},  // fewer fields than n
        {0, ",", "Arial,12", ""},                // no field 0
        {-1, ",", "Arial,12", ""},
        {1, ",", "", ""},
        {2, ",", "a,,b", ""},  // an empty field counts
        {3, ",", "a,,b", "b"},
        {2, ",", "a,", ""},      // a final separator adds no field
        {1, ",", " a ", " a "},  // fields are not trimmed
        {2, "x", "aXbxc", "b"},  // the separator ignores letter case
        {3, "X", "aXbxc", "c"},
        {2, "-@-", "one-@-two-@-three", "two"},
        {2, "ab", "1AB2aB3", "2"},
        {2, "", "a,b", ""},  // no separator: one field
        {1, "", "a,b", "a,b"},
        {2, ",", "a\rb,c", "b"},  // line ends inside the text end a field
        {3, ",", "a\r\nb,c", "c"},
        {3, ",", "a,b\0,c"s, ""},                          // a NUL ends the text
        {2, ",", "caf\xC3\xA9,th\xC3\xA9", "th\xC3\xA9"},  // UTF-8 passes through
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldOfSeparatedText(c.n, c.separator, c.text), c.field)
            << c.n << " [" << c.separator << "] " << c.text;
}

TEST(CaptionFontDescription, AppliesAllFourFields)
{
    CaptionFont font;
    ApplyCaptionFontDescription("Arial,12,clRed,Negrito Italico", font);
    EXPECT_EQ(font.name, "Arial");
    EXPECT_EQ(font.size, 12);
    EXPECT_EQ(font.colour, ToToolkitColour("clRed"));
    EXPECT_TRUE(font.bold);
    EXPECT_TRUE(font.italic);
    EXPECT_FALSE(font.underline);
    EXPECT_FALSE(font.strikeout);
}

TEST(CaptionFontDescription, StyleWordsInExactCaseAnywhereInTheField)
{
    struct Case {
        std::string_view style;
        bool bold, italic, underline, strikeout;
    };
    // style field -> bold italic underline strikeout
    const Case cases[] = {
        {"", false, false, false, false},
        {"Negrito", true, false, false, false},
        {"Italico", false, true, false, false},
        {"Sublinhada", false, false, true, false},
        {"Atravessada", false, false, false, true},
        {"AtravessadaSublinhadaItalicoNegrito", true, true, true, true},
        {"xxNegritoyy", true, false, false, false},
        {"negrito ITALICO sublinhada", false, false, false, false},  // case matters
        {"Itálico", false, false, false, false},                     // so does the accent
        {"Negrit", false, false, false, false},
        {"Normal", false, false, false, false},
    };
    for (const Case& c : cases) {
        CaptionFont font;
        ApplyCaptionFontDescription("Tahoma,8,clBlack," + std::string(c.style), font);
        EXPECT_EQ(font.bold, c.bold) << c.style;
        EXPECT_EQ(font.italic, c.italic) << c.style;
        EXPECT_EQ(font.underline, c.underline) << c.style;
        EXPECT_EQ(font.strikeout, c.strikeout) << c.style;
    }
}

TEST(CaptionFontDescription, MissingStyleFieldMeansRegular)
{
    CaptionFont font{
        .name = "Old", .size = 9, .colour = 1, .bold = true, .italic = true, .underline = true, .strikeout = true};
    ApplyCaptionFontDescription("Verdana,10,$00FF00", font);
    EXPECT_EQ(font.name, "Verdana");
    EXPECT_EQ(font.size, 10);
    EXPECT_EQ(font.colour, 0x00FF00);
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikeout);
}

TEST(CaptionFontDescription, EmptyDescriptionChangesNothing)
{
    const CaptionFont before{.name = "Old", .size = 9, .colour = 1, .bold = true};
    CaptionFont font = before;
    ApplyCaptionFontDescription("", font);
    EXPECT_EQ(font.name, before.name);
    EXPECT_EQ(font.size, before.size);
    EXPECT_EQ(font.colour, before.colour);
    EXPECT_TRUE(font.bold);
}

TEST(CaptionFontDescription, NameAndSizeOnlyFailsAtTheColourKeepingNameAndSize)
{
    CaptionFont font{.name = "Old", .size = 9, .colour = 0x123456, .bold = true};
    try {
        ApplyCaptionFontDescription("Tahoma,10", font);
        FAIL() << "the empty colour field must not convert";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(font.name, "Tahoma");
    EXPECT_EQ(font.size, 10);
    EXPECT_EQ(font.colour, 0x123456);  // untouched, and so is the style
    EXPECT_TRUE(font.bold);
}

TEST(CaptionFontDescription, FailuresKeepTheFieldsBeforeThem)
{
    struct Case {
        std::string_view description;
        std::string_view message;
        std::string_view name;  // after the failure
        int size;
    };
    // description -> error, name and size left behind (they start as "Old", 9)
    const Case cases[] = {
        {"Tahoma", "'' is not a valid integer value", "Tahoma", 9},
        {"Tahoma,12 ,clRed", "'12 ' is not a valid integer value", "Tahoma", 9},
        {"Tahoma,big,clRed", "'big' is not a valid integer value", "Tahoma", 9},
        {"Tahoma,12,reddish", "'reddish' is not a valid integer value", "Tahoma", 12},
        {",", "'' is not a valid integer value", "", 9},
    };
    for (const Case& c : cases) {
        CaptionFont font{.name = "Old", .size = 9};
        try {
            ApplyCaptionFontDescription(c.description, font);
            ADD_FAILURE() << c.description << " must fail";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), c.message) << c.description;
        }
        EXPECT_EQ(font.name, c.name) << c.description;
        EXPECT_EQ(font.size, c.size) << c.description;
    }
}

TEST(CaptionFontDescription, FieldsAreNotTrimmed)
{
    CaptionFont font;
    // A leading blank is part of the name; the number conversion accepts leading blanks.
    ApplyCaptionFontDescription(" Arial, 12,CLBLUE, Negrito", font);
    EXPECT_EQ(font.name, " Arial");
    EXPECT_EQ(font.size, 12);
    EXPECT_EQ(font.colour, ToToolkitColour("clBlue"));
    EXPECT_TRUE(font.bold);
}

}  // namespace
}  // namespace quillora
