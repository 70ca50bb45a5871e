#include "browsing/document_styling.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ScrollbarRules, EachColourDrawsItsPartAndUnusableOnesLeaveItAlone)
{
    using Colours = std::array<std::string, 7>;  // face, highlight, 3-D light, dark shadow, shadow, arrow, track
    struct Case {
        Colours colours;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        // nothing usable -> no rules at all, the engine's own scroll bar stays
        {{"", "", "", "", "", "", ""}, {}, {"::-webkit-scrollbar"}},
        {{"red;}body{display:none", "", "", "", "", "", ""}, {}, {"display:none", "::-webkit"}},
        // face = thumb and buttons; track = track and corner
        {{"#C0C0C0", "", "", "", "", "", "navy"},
         {"::-webkit-scrollbar-thumb,::-webkit-scrollbar-button{background-color:#C0C0C0}",
          "::-webkit-scrollbar-track,::-webkit-scrollbar-corner{background-color:navy}",
          "::-webkit-scrollbar-button:single-button{display:block"},
         {"border", "box-shadow", "svg"}},
        // the 3-D colours are the raised edges: light ones up and left, dark ones down and right
        {{"", "white", "silver", "black", "gray", "", ""},
         {"border-top-color:white;border-left-color:white;border-bottom-color:gray;border-right-color:gray",
          "box-shadow:inset 1px 1px silver,inset -1px -1px black"},
         {"background-color"}},
        // the arrow colour fills the four arrows, written safely into the image address
        {{"", "", "", "", "", "rgb(255, 0, 0)", ""},
         {"fill='rgb%28255%2C%200%2C%200%29'", "vertical:decrement", "vertical:increment", "horizontal:decrement",
          "horizontal:increment"},
         {"fill='rgb("}},
    };
    for (const auto& c : cases) {
        const std::string rules = ScrollbarRules(c.colours);
        for (const auto& part : c.present) {
            EXPECT_TRUE(Contains(rules, part)) << part << "\n in: " << rules;
        }
        for (const auto& part : c.absent) {
            EXPECT_FALSE(Contains(rules, part)) << part << "\n in: " << rules;
        }
    }
}

TEST(StylingScript, PutsInOrderOnlyForTheSwitchesThatAreOn)
{
    PageStyling styling;
    styling.border_on = true;
    styling.border_style = "ridge";
    styling.border_color = "";
    std::string script = StylingScript(styling);
    // the border style is emptied first, then set; an empty colour is still written
    const auto emptied = script.find("put('borderStyle', \"\", true)");
    const auto set = script.find("put('borderStyle', \"ridge\", true)");
    const auto colour = script.find("put('borderColor', \"\", true)");
    ASSERT_NE(emptied, std::string::npos);
    EXPECT_LT(emptied, set);
    EXPECT_LT(set, colour);
    EXPECT_FALSE(Contains(script, "scrollbar"));

    styling.scrollbar_colors_on = true;
    styling.scrollbar_colors = {"f", "h", "l", "d", "s", "a", "t"};
    script = StylingScript(styling);
    const char* const order[] = {"put('borderColor'",
                                 "put('scrollbarArrowColor', \"a\"",
                                 "put('scrollbar3DLIGHTCOLOR', \"l\"",
                                 "put('scrollbarDarkShadowColor', \"d\"",
                                 "put('scrollbarFaceColor', \"f\"",
                                 "put('scrollbarHighlightColor', \"h\"",
                                 "put('scrollbarShadowColor', \"s\"",
                                 "put('scrollbarTrackColor', \"t\""};
    std::size_t previous = 0;
    for (const char* put : order) {
        const auto at = script.find(put);
        ASSERT_NE(at, std::string::npos) << put;
        EXPECT_GT(at, previous) << put;
        previous = at;
    }
}

TEST(JavaScriptString, NoValueCanLeaveItsLiteral)
{
    // input -> literal
    EXPECT_EQ(JavaScriptString("ridge"), "\"ridge\"");
    EXPECT_EQ(JavaScriptString("a\"b'c\\d"), "\"a\\u0022b\\u0027c\\u005Cd\"");
    EXPECT_EQ(JavaScriptString("</script>\n"), "\"\\u003C/script\\u003E\\u000A\"");
    EXPECT_EQ(JavaScriptString("x\xE2\x80\xA8y\xE2\x80\xA9"), "\"x\\u2028y\\u2029\"");
    EXPECT_EQ(JavaScriptString("Olá"), "\"Olá\"");
}

}  // namespace
}  // namespace quillora
