#include "stored_path.hpp"

#include <gtest/gtest.h>

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

const fs::path Source = "/books/atlas";

TEST(StoredPath, SourcePathsBecomeStoredPaths)
{
    struct Case {
        const char* value;
        const char* stored;
        const char* local_folder;
        const char* folder_name;
        const char* file_name;
    };
    // value -> stored path, the folder on this machine, the names the runtime uses
    const Case cases[] = {
        {"pages/index.html", "C:\\Quillora\\pages\\index.html", "/books/atlas/pages", "pages", "index.html"},
        {"./pages/../pages/index.html", "C:\\Quillora\\pages\\index.html", "/books/atlas/pages", "pages", "index.html"},
        {"content/web/intro.htm", "C:\\Quillora\\web\\intro.htm", "/books/atlas/content/web", "web", "intro.htm"},
        {"../shared/start.html", "C:\\Quillora\\shared\\start.html", "/books/shared", "shared", "start.html"},
        {"/srv/site/home.html", "C:\\Quillora\\site\\home.html", "/srv/site", "site", "home.html"},
        {"sidor/välkommen.html", "C:\\Quillora\\sidor\\välkommen.html", "/books/atlas/sidor", "sidor",
         "välkommen.html"},
        // Stored paths, as a dump of another e-book prints them, stay as they are.
        {"D:\\Books\\Atlas\\index.htm", "D:\\Books\\Atlas\\index.htm", "/books/atlas/Atlas", "Atlas", "index.htm"},
        {"Atlas\\index.htm", "Atlas\\index.htm", "/books/atlas/Atlas", "Atlas", "index.htm"},
    };
    for (const auto& c : cases) {
        const auto resolved = ResolvePagePath(c.value, Source);
        ASSERT_TRUE(std::holds_alternative<ResolvedPage>(resolved))
            << c.value << ": " << std::get<std::string>(resolved);
        const auto& page = std::get<ResolvedPage>(resolved);
        EXPECT_EQ(page.stored, c.stored) << c.value;
        EXPECT_EQ(page.local_folder, fs::path(c.local_folder)) << c.value;
        EXPECT_EQ(page.folder_name, c.folder_name) << c.value;
        EXPECT_EQ(page.file_name, c.file_name) << c.value;
    }
}

TEST(StoredPath, TextsThatNameNoPage)
{
    struct Case {
        const char* value;
        const char* problem;
    };
    // value -> why it names no page
    const Case cases[] = {
        {"", "names no page"},
        {"index.html", "names no page folder; keep the pages in a folder, such as pages/index.html"},
        {"./index.html", "names no page folder; keep the pages in a folder, such as pages/index.html"},
        {"pages/", "names a folder, not a page"},
        {"pages/..", "names a folder, not a page"},
        {"/index.html", "names no page folder; keep the pages in a folder, such as pages/index.html"},
        {"pages/a:b.html", "a page name cannot hold ':'"},
        {"index.htm\\", "names no page folder; keep the pages in a folder, such as pages/index.html"},
        {"C:\\Books\\Atlas\\", "names a folder, not a page"},
        {"C:\\x\\\\index.htm", "names no page folder; keep the pages in a folder, such as pages/index.html"},
        {"C:\\Books\\pages/index.html", "mixes '/' and '\\'; write pages/index.html"},
    };
    for (const auto& c : cases) {
        const auto resolved = ResolvePagePath(c.value, Source);
        ASSERT_TRUE(std::holds_alternative<std::string>(resolved)) << c.value;
        EXPECT_EQ(std::get<std::string>(resolved), c.problem) << c.value;
    }
}

TEST(StoredPath, SourceFormReadsBackAsTheSameStoredPath)
{
    struct Case {
        const char* stored;
        const char* source;
    };
    // stored path -> its source form
    const Case cases[] = {
        {"C:\\Quillora\\pages\\index.html", "pages/index.html"},
        {"C:\\Quillora\\sidor\\välkommen.html", "sidor/välkommen.html"},
        {"D:\\Books\\Atlas\\index.htm", "D:\\Books\\Atlas\\index.htm"},
        {"C:\\Quillora\\a\\b\\c.html", "C:\\Quillora\\a\\b\\c.html"},
        {"C:\\Quillora\\..\\c.html", "C:\\Quillora\\..\\c.html"},
        {"c:\\quillora\\pages\\index.html", "c:\\quillora\\pages\\index.html"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SourceFormOfStoredPath(c.stored), c.source) << c.stored;
        const auto resolved = ResolvePagePath(SourceFormOfStoredPath(c.stored), Source);
        if (std::holds_alternative<ResolvedPage>(resolved)) {
            EXPECT_EQ(std::get<ResolvedPage>(resolved).stored, c.stored);
        }
    }
    // Texts that are no stored path of this tool come back unchanged, even when empty.
    EXPECT_EQ(SourceFormOfStoredPath(""), "");
    EXPECT_EQ(SourceFormOfStoredPath("index.htm"), "index.htm");
}

}  // namespace
}  // namespace quillora::pack
