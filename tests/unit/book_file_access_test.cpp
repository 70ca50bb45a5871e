#include "book/book_file_access.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

// The rules every book gets, for the folder file:///b/.
const std::string Head =
    "[{\"trigger\":{\"url-filter\":\"^file:\"},\"action\":{\"type\":\"block\"}},"
    "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/\",\"url-filter-is-case-sensitive\":true},"
    "\"action\":{\"type\":\"ignore-previous-rules\"}},"
    "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/[^?#]*%2F\"},\"action\":{\"type\":\"block\"}},"
    "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/[^?#]*%5C\"},\"action\":{\"type\":\"block\"}},"
    "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/[^?#]*%2E\"},\"action\":{\"type\":\"block\"}},"
    "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/[^?#]*%00\"},\"action\":{\"type\":\"block\"}}";

std::string Block(const std::string& pattern_after_folder)
{
    return ",{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/b\\\\/" + pattern_after_folder +
           "\"},\"action\":{\"type\":\"block\"}}";
}

TEST(BookFileAccessRules, BlockEveryFileAddressButTheBooksOwnFilesEachSpelledOneWay)
{
    // The folder is taken literally, a "." or "(" matching only itself, its case as it is.
    const std::string atlas = BookFileAccessRules("file:///home/ana/Atlas%20(v1.2)/");
    EXPECT_EQ(atlas.substr(0, atlas.find("[^?#]")),
              "[{\"trigger\":{\"url-filter\":\"^file:\"},\"action\":{\"type\":\"block\"}},"
              "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/home\\\\/ana\\\\/Atlas%20\\\\(v1\\\\.2\\\\)\\\\/\","
              "\"url-filter-is-case-sensitive\":true},\"action\":{\"type\":\"ignore-previous-rules\"}},"
              "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/home\\\\/ana\\\\/Atlas%20\\\\(v1\\\\.2\\\\)\\\\/");

    struct Case {
        BookLinks links;
        std::string rules_after_head;
    };
    // links in the book -> the rules that follow the ones every book gets
    const Case cases[] = {
        {{}, ""},
        // The link with all under it, its letters' escapes in either case.
        {{{"x"}, {}}, Block("[^?#]*%58") + Block("[^?#]*%78") + Block("x$") + Block("x[/?#]")},
        // In a folder, with a dot: the separator and the dot are refused escaped already.
        {{{"d/a.b"}, {}},
         Block("[^?#]*%41") + Block("[^?#]*%42") + Block("[^?#]*%44") + Block("[^?#]*%61") + Block("[^?#]*%62") +
             Block("[^?#]*%64") + Block("d\\\\/a\\\\.b$") + Block("d\\\\/a\\\\.b[/?#]")},
        // Blanks and letters outside ASCII reach the rules escaped only; digits have no case.
        {{{"1 \xC3\xA9"}, {}}, Block("[^?#]*%31") + Block("1%20%C3%A9$") + Block("1%20%C3%A9[/?#]")},
        // The engine escapes a "^" itself.
        {{{"^"}, {}}, Block("%5E$") + Block("%5E[/?#]")},
        // A "%" may be written as it is or escaped: the start up to it is blocked.
        {{{"5%"}, {}}, Block("[^?#]*%35") + Block("5")},
        // Links to folders inside count only when some link leads out.
        {{{}, {"in"}}, ""},
        {{{"1"}, {"2"}},
         Block("[^?#]*%31") + Block("[^?#]*%32") + Block("1$") + Block("1[/?#]") + Block("2$") + Block("2[/?#]")},
    };
    for (const Case& c : cases) {
        const std::string where = c.links.leading_out.empty() ? "" : c.links.leading_out.front();
        EXPECT_EQ(BookFileAccessRules("file:///b/", c.links), Head + c.rules_after_head + "]") << where;
    }
}

}  // namespace
}  // namespace quillora
