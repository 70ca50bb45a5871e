// Page folders holding what the author never chose to ship, checked and packed by the real tool.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "pack_test_support.hpp"
#include "page_folder.hpp"

namespace quillora::pack {
namespace {

using testing::RunPack;
using testing::TempDir;
using testing::WriteFile;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// Every path below the folder, sorted; folders end in "/", links in "@".
Names Tree(const fs::path& folder)
{
    Names names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        names.push_back(name + (entry.is_symlink() ? "@" : entry.is_directory() ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// "{dir}", "{pages}" and "{conf}" in an expected text stand for the case's paths.
std::string Expand(std::string text, const fs::path& dir)
{
    const std::pair<std::string, std::string> names[] = {{"{pages}", (dir / "book" / "pages").string()},
                                                         {"{conf}", (dir / "book" / "book.conf").string()},
                                                         {"{dir}", dir.string()}};
    for (const auto& [name, value] : names) {
        for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
            text.replace(at, name.size(), value);
        }
    }
    return text;
}

struct HostileFolder {
    const char* name;
    std::function<void(const fs::path& dir)> make;  // the book is dir/book, its pages dir/book/pages
    Names options;
    std::string problems;  // what --check prints
    int errors;            // 0: the book is written
    Names book;            // what lands in the e-book's page folder
};

void Link(const fs::path& target, const fs::path& link)
{
    fs::create_symlink(target, link);
}

TEST(PageFolder, CheckAndPackingAgreeOnEveryHostileFolder)
{
    const std::string left_out = ": warning: left out of the e-book: ";
    const std::string hidden = "(--include-hidden copies hidden names)";
    // made in the page folder -> what --check says, how many errors stop packing, what is shipped
    const HostileFolder cases[] = {
        {"hidden file",
         [](auto dir) { WriteFile(dir / "book/pages/.env", "TOKEN=1"); },
         {},
         "{pages}/.env" + left_out + "a hidden file " + hidden + "\n",
         0,
         {"index.html"}},
        {"hidden folder",
         [](auto dir) { WriteFile(dir / "book/pages/.ssh/id_rsa", "KEY"); },
         {},
         "{pages}/.ssh" + left_out + "a hidden folder " + hidden + "\n",
         0,
         {"index.html"}},
        {"hidden folder, asked for",
         [](auto dir) { WriteFile(dir / "book/pages/.well-known/a", "A"); },
         {"--include-hidden"},
         "",
         0,
         {".well-known/", ".well-known/a", "index.html"}},
        {"link to a file outside",
         [](auto dir) {
             WriteFile(dir / "secret.txt", "S");
             Link("../../secret.txt", dir / "book/pages/notes.txt");
         },
         {},
         "{pages}/notes.txt" + left_out + "a link to {dir}/secret.txt, outside the page folder\n",
         0,
         {"index.html"}},
        {"link to a folder outside",
         [](auto dir) {
             WriteFile(dir / "home/.ssh/id_rsa", "KEY");
             Link(dir / "home", dir / "book/pages/home");
         },
         {},
         "{pages}/home" + left_out + "a link to {dir}/home, outside the page folder\n",
         0,
         {"index.html"}},
        {"dangling link",
         [](auto dir) { Link("../jquery/jquery.js", dir / "book/pages/jquery.js"); },
         {},
         "{pages}/jquery.js" + left_out + "a link to ../jquery/jquery.js, which does not exist\n",
         0,
         {"index.html"}},
        {"links within, copied as what they point to",
         [](auto dir) {
             WriteFile(dir / "book/pages/img/map.svg", "<svg/>");
             Link("index.html", dir / "book/pages/start.html");
             Link("img", dir / "book/pages/pictures");
         },
         {},
         "",
         0,
         {"img/", "img/map.svg", "index.html", "pictures/", "pictures/map.svg", "start.html"}},
        {"link to a folder that holds it",
         [](auto dir) {
             fs::create_directory(dir / "book/pages/img");
             Link("..", dir / "book/pages/img/up");
         },
         {},
         "{pages}/img/up" + left_out + "a link to {pages}, a folder that holds the link\n",
         0,
         {"img/", "index.html"}},
        {"link within to a hidden file",
         [](auto dir) {
             WriteFile(dir / "book/pages/.draft.html", "D");
             Link(".draft.html", dir / "book/pages/draft.html");
         },
         {},
         "{pages}/.draft.html" + left_out + "a hidden file " + hidden + "\n" + "{pages}/draft.html" + left_out +
             "a link to the hidden {pages}/.draft.html " + hidden + "\n",
         0,
         {"index.html"}},
        {"named pipe",
         [](auto dir) { ASSERT_EQ(::mkfifo((dir / "book/pages/feed").c_str(), 0644), 0); },
         {},
         "{pages}/feed" + left_out + "a named pipe, not a page\n",
         0,
         {"index.html"}},
        {"unreadable file",
         [](auto dir) {
             WriteFile(dir / "book/pages/locked.html", "L");
             fs::permissions(dir / "book/pages/locked.html", fs::perms::none);
         },
         {},
         "{pages}/locked.html: cannot read the file: Permission denied\n",
         1,
         {}},
        {"home page that leads outside",
         [](auto dir) {
             fs::remove(dir / "book/pages/index.html");
             WriteFile(dir / "index.html", "elsewhere");
             Link(dir / "index.html", dir / "book/pages/index.html");
         },
         {},
         "{pages}/index.html" + left_out + "a link to {dir}/index.html, outside the page folder\n" +
             "{conf}: setting home_page: the page {pages}/index.html is left out of the e-book: a link to "
             "{dir}/index.html, outside the page folder (the default value)\n",
         1,
         {}},
        {"missing page folder",
         [](auto dir) { WriteFile(dir / "book/book.conf", "home_page = gone/index.html\n"); },
         {},
         "{conf}:1: setting home_page: page folder not found: {dir}/book/gone\n",
         1,
         {}},
        {"text that windows-1252 cannot hold",
         [](auto dir) { WriteFile(dir / "book/book.conf", "title = 北\nabout_title = About\nabout_app_name = A\n"); },
         {"--encoding", "windows-1252"},
         "{conf}:1: setting title: character U+5317 cannot be written in windows-1252\n",
         1,
         {}},
    };

    TempDir temp;
    const fs::path root = fs::canonical(temp.Path());
    // Permissions do not bind root, so then the tool runs as nobody on a tree open to it.
    const bool as_root = ::geteuid() == 0;
    const Names launcher =
        as_root ? Names{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} : Names{};
    fs::permissions(root, fs::perms::all);
    WriteFile(root / "quillora", "\x7F"
                                 "ELF not really a program");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = root / c.name;
        WriteFile(dir / "book" / "pages" / "index.html", "<html><body>home</body></html>");
        WriteFile(dir / "book" / "book.conf", "");
        c.make(dir);
        fs::permissions(dir, fs::perms::all);
        const std::string expected = Expand(c.problems, dir);
        const auto run = [&](Names arguments) {
            arguments.insert(arguments.begin(), c.options.begin(), c.options.end());
            return RunPack(arguments, root, launcher);
        };

        const auto check = run({"--check", (dir / "book").string()});
        EXPECT_EQ(check.err, expected);
        EXPECT_EQ(check.exit_code, c.errors > 0 ? 1 : 0);

        // The search index, which packing adds, is no part of what the walk decides.
        const auto pack = run({"--no-search-index", "--runtime", (root / "quillora").string(), (dir / "book").string(),
                               (dir / "out" / "b").string()});
        if (c.errors > 0) {
            EXPECT_EQ(pack.err, expected + Expand("quillora-pack: error: {conf} has " + std::to_string(c.errors) +
                                                      " problem" + (c.errors == 1 ? "" : "s") + "; no e-book written\n",
                                                  dir));
            EXPECT_EQ(pack.exit_code, 1);
            EXPECT_FALSE(fs::exists(dir / "out"));
        } else {
            EXPECT_EQ(pack.err, expected);
            EXPECT_EQ(pack.exit_code, 0);
            EXPECT_EQ(Tree(dir / "out" / "pages"), c.book);
        }
    }
}

// Twelve folders, each with two links to the next: 2^12 copies of the last one. The walk stops
// at its bound with one error instead of running on.
TEST(PageFolder, LinksThatMultiplyTheFolderStopTheWalk)
{
    TempDir temp;
    const fs::path pages = temp / "pages";
    for (int level = 0; level < 12; ++level) {
        const fs::path folder = pages / ("f" + std::to_string(level));
        fs::create_directories(folder);
        for (const char* link : {"a", "b"}) {
            Link("../f" + std::to_string(level + 1), folder / link);
        }
    }
    fs::create_directory(pages / "f12");
    Diagnostics diagnostics;
    const auto plan = PlanPageFolder({pages, "pages"}, {.most_linked_entries = 100}, diagnostics);
    EXPECT_EQ(diagnostics.FormatAll(),
              pages.string() + ": its links lead to more than 100 files and folders; the walk stopped there\n");
    EXPECT_EQ(plan.entries.size(), 101u);  // f0 and the first hundred that its links bring in
}

}  // namespace
}  // namespace quillora::pack
