#include <gtest/gtest.h>

#include <string>

#include "book/page_path.hpp"
#include "common/error.hpp"

namespace quillora {
namespace {

TEST(PagePath, KeepsOnlyTheFolderAndFileNameOfTheStoredPath)
{
    struct Case {
        const char* stored;
        const char* expected;
    };
    // stored path -> local page path beside /books/atlas/
    const Case cases[] = {
        {"C:\\Authoring\\My Book\\pages\\index.htm", "/books/atlas/pages/index.htm"},
        {"D:\\pages\\index.htm", "/books/atlas/pages/index.htm"},
        {"pages\\index.htm", "/books/atlas/pages/index.htm"},
        // Non-ASCII names pass through untouched.
        {"C:\\Livros\\páginas\\início.html", "/books/atlas/páginas/início.html"},
        // Two adjacent backslashes make an empty folder component.
        {"C:\\x\\\\index.htm", "/books/atlas//index.htm"},
        // The file name is what follows the last backslash or colon.
        {"C:\\x\\pages\\a:b.htm", "/books/atlas/pages/b.htm"},
        // A trailing backslash adds no empty component: the folder is the one before it.
        {"C:\\x\\pages\\", "/books/atlas/x/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PagePathOf(c.stored, "/books/atlas/"), c.expected) << c.stored;
    }
}

TEST(PagePath, FewerThanTwoComponentsIsAnIndexError)
{
    struct Case {
        const char* stored;
        const char* message;
    };
    const Case cases[] = {
        {"index.htm", "List index out of bounds (-1)"},
        {"", "List index out of bounds (-2)"},
        {"pages\\", "List index out of bounds (-1)"},
    };
    for (const auto& c : cases) {
        try {
            (void)PagePathOf(c.stored, "/books/");
            ADD_FAILURE() << "no error for " << c.stored;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.stored;
        }
    }
}

TEST(PagePath, SplitCountsEmptyComponentsButNoTrailingOne)
{
    EXPECT_EQ(SplitStoredPath("a\\\\b\\"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitStoredPath("\\a"), (std::vector<std::string>{"", "a"}));
    EXPECT_TRUE(SplitStoredPath("").empty());
}

}  // namespace
}  // namespace quillora
