#include "book/action_link.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

TEST(ActionLink, MarkerAnywhereWithoutRegardToCaseThenSevenCharactersDropped)
{
    struct Case {
        std::string address;
        bool is_action;
        std::string action;  // meaningful for action addresses only
    };
    const Case cases[] = {
        // the engine's lower-cased scheme -> an action; the rest keeps its letter case
        {"action:MESSAGE %Note%==%Saved.%", true, "MESSAGE \"Note\"==\"Saved.\""},
        {"AcTiOn:webhome()", true, "webhome()"},
        // the marker after the start: cancelled, yet the first seven characters go whatever they are
        {"file:///book/ACTION:WEBHOME()", true, "/book/ACTION:WEBHOME()"},
        // exactly the marker -> an empty action string
        {"ACTION:", true, ""},
        // "%20" is a blank, never a quote followed by 20; every other "%" a quote, even in escapes
        {"action:MESSAGE%20%A%==%B%20C%", true, "MESSAGE \"A\"==\"B C\""},
        {"action:%2220", true, "\"2220"},
        {"action:%%20", true, "\" "},
        // seven characters, not seven bytes: a non-ASCII character is never cut in half
        {"áction:WEBHOME()", false, ""},
        {"xxáxxxxACTION:Ok", true, "ACTION:Ok"},
        // near misses
        {"action;WEBHOME()", false, ""},
        {"actio", false, ""},
        {"file:///book/index.htm", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsActionAddress(c.address), c.is_action) << c.address;
        if (c.is_action) {
            EXPECT_EQ(ActionStringOf(c.address), c.action) << c.address;
        }
    }
}

TEST(ActionLink, OnlyAddressesThatAreNoActionBecomeTheLastPageAddress)
{
    std::string last;
    RecordPageAddress(last, "file:///book/a.htm");
    RecordPageAddress(last, "action:WEBHOME()");
    EXPECT_EQ(last, "file:///book/a.htm");
    RecordPageAddress(last, "https://example.org/");
    EXPECT_EQ(last, "https://example.org/");
}

}  // namespace
}  // namespace quillora

namespace quillora {
namespace {

TEST(ActionLink, OnlyTheBooksOwnDocumentsMayRunActions)
{
    const std::string book = "/home/ana/Atlas/";
    struct Case {
        std::string document;
        bool trusted;
    };
    const Case cases[] = {
        {"/home/ana/Atlas/pages/index.html", true},
        {"/home/ana/Atlas/book", true},
        // names that only begin like the folder, climbs out of it, and the folder itself
        {"/home/ana/AtlasOther/index.html", false},
        {"/home/ana/Atlas/pages/../../secret.html", false},
        {"/home/ana/Atlas/", false},
        // no document, or no local one
        {"", false},
        {"pages/index.html", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsBookDocument(c.document, book), c.trusted) << c.document;
    }
}

TEST(ActionLink, SchemesTheEngineCannotShowGoToTheDesktop)
{
    EXPECT_TRUE(EngineShowsScheme("HTTPS://example.org/"));
    EXPECT_TRUE(EngineShowsScheme("file:///book/index.html"));
    EXPECT_TRUE(EngineShowsScheme("about:blank"));
    EXPECT_FALSE(EngineShowsScheme("mailto:ana@example.org"));
    EXPECT_FALSE(EngineShowsScheme("tel:+351123"));
    // no scheme before the first colon: nothing to hand over
    EXPECT_TRUE(EngineShowsScheme("pages/a:b.html"));
}

}  // namespace
}  // namespace quillora
