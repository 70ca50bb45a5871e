#include "appearance/about_texts.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "appearance/kept_settings.hpp"
#include "common/error.hpp"

namespace quillora {
namespace {

KeptSettings AboutTexts(const std::string& description, const std::string& copyright, const std::string& size = "20")
{
    KeptSettings kept;
    kept.about_title = "About the Atlas";
    kept.about_app_name = "Atlas of the North";
    kept.about_version = "Edition 1.0";
    kept.about_description = description;
    kept.about_web_address = "https://quillora.example.org";
    kept.about_email = "atlas@example.org";
    kept.about_copyright = copyright;
    kept.about_app_name_size = size;
    return kept;
}

TEST(AboutDescription, CutAtEverySeparatorEachLineEnded)
{
    struct Case {
        std::string description;
        std::string field;
    };
    // about_description -> Description
    const Case cases[] = {
        {"", ""},
        {"one", "one\n"},
        {"one<!>two", "one\ntwo\n"},
        {"one<!><!>two", "one\n\ntwo\n"},  // an empty piece between separators stays
        {"one<!>", "one\n"},               // an empty rest adds nothing
        {"<!>", "\n"},
        {"<!>one", "\none\n"},
        {"one<!<!>>two", "one<!\n>two\n"},  // matched left to right, never overlapping
        {"one<!>two<!>", "one\ntwo\n"},
        {"one<! >two<>", "one<! >two<>\n"},  // exact separator only
    };
    for (const Case& c : cases) {
        AboutFields fields;
        FillAboutFields(fields, AboutTexts(c.description, ""));
        EXPECT_EQ(fields.Description, c.field) << c.description;
    }
}

TEST(AboutDescription, ShownWithoutTheLastBreak)
{
    struct Case {
        std::string field;
        std::string shown;
    };
    // Description -> label text
    const Case cases[] = {
        {"", ""},     {"one\ntwo\n", "one\ntwo"}, {"one\n\ntwo\n", "one\n\ntwo"}, {"one\n\n", "one\n"},
        {"\n", ""},  // only empty lines: nothing to show
        {"\n\n", ""},
    };
    for (const Case& c : cases) {
        AboutFields fields;
        fields.Description = c.field;
        EXPECT_EQ(AboutShownDescription(fields), c.shown) << c.field;
    }
}

TEST(AboutCopyright, OnlyTheBareSignKeepsWhatTheFieldHolds)
{
    struct Case {
        std::string held;
        std::string about_copyright;
        std::string field;
    };
    // (Copyright before, about_copyright) -> Copyright after
    const Case cases[] = {
        {"", "\xC2\xA9", ""},
        {"earlier", "\xC2\xA9", "earlier"},
        {"earlier", "\xC2\xA9 2026 Atlas", "\xC2\xA9 2026 Atlas"},
        {"earlier", "", ""},
        {"", "\xC2\xA9 ", "\xC2\xA9 "},  // whole text compared
        {"", "\xA9", "\xA9"},            // the sign is UTF-8 text, not the 8-bit code
        {"", "(c)", "(c)"},
    };
    for (const Case& c : cases) {
        AboutFields fields;
        fields.Copyright = c.held;
        FillAboutFields(fields, AboutTexts("", c.about_copyright));
        EXPECT_EQ(fields.Copyright, c.field) << c.held << " / " << c.about_copyright;
    }
}

TEST(AboutCaptionAndName, FallBackOnTheApplicationTitle)
{
    AboutFields fields;
    // empty caption and name -> "Info " + title + "..." and the title
    EXPECT_EQ(AboutCaption(fields, "Atlas"), "Info Atlas...");
    EXPECT_EQ(AboutShownName(fields, "Atlas"), "Atlas");
    fields.CaptionTitle = "About";
    fields.Appname = "Atlas of the North";
    EXPECT_EQ(AboutCaption(fields, "Atlas"), "About");
    EXPECT_EQ(AboutShownName(fields, "Atlas"), "Atlas of the North");
}

TEST(AboutLinks, AnAddressWithAtSignIsMailed)
{
    struct Case {
        std::string text;
        std::string address;
    };
    // link text -> address opened
    const Case cases[] = {
        {"atlas@example.org", "mailto:atlas@example.org"},
        {"mailto:atlas@example.org", "mailto:atlas@example.org"},  // scheme given: complete
        {"https://example.org/@atlas", "https://example.org/@atlas"},
        {"C:atlas@example.org", "mailto:C:atlas@example.org"},  // one letter is no scheme
        {"1a:atlas@example.org", "mailto:1a:atlas@example.org"},
        {"a b:atlas@example.org", "mailto:a b:atlas@example.org"},
        {"https://quillora.example.org", "https://quillora.example.org"},
        {"quillora.example.org", "quillora.example.org"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(AboutLinkAddress(c.text), c.address) << c.text;
}

TEST(AboutNameSize, BadSizeStopsAfterCaptionAndCopyright)
{
    AboutFields fields;
    fields.Appname = "old name";
    fields.Description = "old\n";
    // a size that is no whole number -> its error, with only the caption and copyright written
    try {
        FillAboutFields(fields, AboutTexts("new", "\xC2\xA9 new", "big"));
        ADD_FAILURE() << "a bad size was accepted";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'big' is not a valid integer value");
    }
    EXPECT_EQ(fields.CaptionTitle, "About the Atlas");
    EXPECT_EQ(fields.Copyright, "\xC2\xA9 new");
    EXPECT_EQ(fields.Appname, "old name");
    EXPECT_EQ(fields.Description, "old\n");
    EXPECT_EQ(fields.EMail, "");

    FillAboutFields(fields, AboutTexts("new", "\xC2\xA9 new", "$10"));
    EXPECT_EQ(fields.AppNameSize, 16);
    EXPECT_EQ(fields.Appname, "Atlas of the North");
    EXPECT_EQ(fields.EMail, "atlas@example.org");
}

TEST(AboutNameSize, FontPointsStayDrawable)
{
    // AppNameSize -> points (0: the dialog's own size)
    const std::pair<int, int> cases[] = {{20, 20}, {1, 1}, {0, 0}, {-12, 0}, {144, 144}, {100000, 144}};
    for (const auto& [size, points] : cases) EXPECT_EQ(AboutNameFontPoints(size), points) << size;
}

}  // namespace
}  // namespace quillora
