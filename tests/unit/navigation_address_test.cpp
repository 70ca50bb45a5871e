#include "book/navigation_address.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

TEST(DecodeNonAsciiEscapes, DecodesOnlyWholeUtf8CharactersOutsideAscii)
{
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        // the engine's form of an authored action link -> as authored
        {"action:MESSAGE(%T%C3%ADtulo%==%Ol%C3%A1 mundo%)", "action:MESSAGE(%Título%==%Olá mundo%)"},
        // lower-case hex digits too
        {"%c3%a1", "á"},
        // three and four bytes
        {"%E2%82%AC%F0%9F%98%80", "€😀"},
        // ASCII escapes stay: the link handler decodes %20 itself, and %22 must stay visible
        {"a%20b%22c%41%7E", "a%20b%22c%41%7E"},
        // percent signs that are no escape at all
        {"%%%Olá%", "%%%Olá%"},
        {"%", "%"},
        {"%C3", "%C3"},
        {"%C3%", "%C3%"},
        {"%C3%A", "%C3%A"},
        // a lead byte followed by something that is not a continuation
        {"%C3%41", "%C3%41"},
        {"%C3x%A1", "%C3x%A1"},
        // a stray continuation byte
        {"%A1", "%A1"},
        // overlong forms, surrogates and values past U+10FFFF are not characters
        {"%C0%AF", "%C0%AF"},
        {"%E0%80%AF", "%E0%80%AF"},
        {"%ED%A0%80", "%ED%A0%80"},
        {"%F4%90%80%80", "%F4%90%80%80"},
        {"%F8%88%80%80%80", "%F8%88%80%80%80"},
        // a broken sequence does not stop a good one after it
        {"%E2%82%C3%A1", "%E2%82á"},
        // the largest character there is
        {"%F4%8F%BF%BF", "\xF4\x8F\xBF\xBF"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeNonAsciiEscapes(c.input), c.expected) << c.input;
    }
}

TEST(HasUriScheme, NeedsALetterThenSchemeCharactersThenAColon)
{
    struct Case {
        const char* input;
        bool expected;
    };
    const Case cases[] = {
        {"file:///a", true}, {"http://x", true},    {"action:WEBHOME()", true}, {"ACTION:", true},
        {"a+b-c.d:x", true}, {"about:blank", true}, {"/home/x.html", false},    {"page.html", false},
        {":x", false},       {"1abc:x", false},     {"a b:x", false},           {"books/x:y", false},
        {"", false},         {"abc", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasUriScheme(c.input), c.expected) << c.input;
    }
}

}  // namespace
}  // namespace quillora
