#include <gtest/gtest.h>

#include <string>

#include "actions/book_paths.hpp"
#include "common/error.hpp"

namespace quillora {
namespace {

TEST(BookPaths, RebaseCutsTheAuthoredPathByPositionOnly)
{
    struct Case {
        const char* home;
        const char* authored;
        const char* expected;
    };
    // (home path, authored path) -> rebased path
    const Case cases[] = {
        {"C:\\Books\\Atlas\\index.htm", "C:\\Books\\Atlas\\maps\\north.htm", "Atlas\\maps\\north.htm"},
        // Nothing is compared: another parent folder of the same length is cut all the same.
        {"C:\\Books\\Atlas\\index.htm", "D:\\Other\\Place\\x.htm", "Place\\x.htm"},
        // No drive: nothing stands in front of the folder name, the path stays whole.
        {"Atlas\\index.htm", "C:\\Books\\Atlas\\a.htm", "C:\\Books\\Atlas\\a.htm"},
        {"C:\\Books\\Atlas\\index.htm", "C:\\Books", ""},
        // Characters are counted, not bytes, on both sides.
        {"C:\\Ção\\pages\\index.htm", "C:\\abc\\pages\\a.htm", "pages\\a.htm"},
        {"C:\\abc\\pages\\index.htm", "C:\\Çãoxyz", "yz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RebaseBookPath(c.home, c.authored), c.expected) << c.home << " " << c.authored;
    }
}

TEST(BookPaths, RebaseWithoutABackslashInTheHomePathIsAnIndexError)
{
    // home path -> message
    const std::pair<const char*, const char*> cases[] = {
        {"index.htm", "List index out of bounds (-1)"},
        {"", "List index out of bounds (-2)"},
    };
    for (const auto& [home, message] : cases) {
        try {
            (void)RebaseBookPath(home, "C:\\a\\b.htm");
            ADD_FAILURE() << "no error for " << home;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(BookPaths, MacrosExpandInOrderWithoutRegardToCase)
{
    const MacroFolders folders{"/opt/atlas/", "/usr/", "/usr/bin/"};
    struct Case {
        MacroFolders folders;
        const char* file;
        const char* expected;
    };
    // (folders, file name) -> expanded
    const Case cases[] = {
        {folders, "[dir]help.pdf", "/opt/atlas/help.pdf"},
        {folders, "[Dir]a[DIR]b", "/opt/atlas/a/opt/atlas/b"},
        {folders, "[WINDOWSDIR]fonts [systemdir]x", "/usr/fonts /usr/bin/x"},
        {folders, "[Dir", "[Dir"},
        // A later macro brought in by an earlier folder is replaced; a macro is not searched
        // again in its own folder.
        {{"/b[SystemDir]/", "/usr/", "/usr/bin/"}, "[Dir]x", "/b/usr/bin//x"},
        {{"/[Dir]/", "/usr/", "/usr/bin/"}, "[Dir]x", "/[Dir]/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandPathMacros(c.file, c.folders), c.expected) << c.file;
    }
}

TEST(BookPaths, FoldersEndInTheirSeparatorUnlessUnknown)
{
    const MacroFolders folders = MacroFoldersFor("/opt/atlas");
    EXPECT_EQ(folders.program, "/opt/atlas/");
    EXPECT_EQ(folders.windows, "/usr/");
    EXPECT_EQ(folders.system, "/usr/bin/");
    // An unknown (empty) folder must not become the root.
    EXPECT_EQ(WithTrailingBackslash(""), "");
    EXPECT_EQ(WithTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\x"), "C:\\x\\");
}

}  // namespace
}  // namespace quillora
