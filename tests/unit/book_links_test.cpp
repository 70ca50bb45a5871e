#include "book/book_links.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_files.hpp"

namespace quillora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> paths)
{
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(BookLinks, LinksWhoseTargetLiesOutsideTheBooksRealFolderAreFound)
{
    const test::TempDir folder;
    const fs::path book = folder / "book";
    folder.Write("book/pages/index.html", "home");
    folder.Write("book/pages/sub/page.html", "sub");
    folder.Write("secret.txt", "secret");
    folder.Write("bookish/other.txt", "a folder whose name starts like the book's");
    fs::create_directories(folder / "outside");
    // link in the book -> where it leads (what matters is where it ends, not what it says)
    const std::vector<std::pair<std::string, fs::path>> links = {
        {"pages/same.html", "index.html"},                         // a file inside
        {"pages/alias", "sub"},                                    // a folder inside
        {"pages/self", "."},                                       // the folder that holds it
        {"pages/around", book / ".." / "book" / "pages" / "sub"},  // inside, by a way out and back
        {"pages/sub/up.txt", "../../../secret.txt"},               // a file beside the book
        {"pages/outside", folder / "outside"},                     // a folder beside the book
        {"pages/bookish", "../../bookish"},                        // beside, its name like the book's
        {"top", ".."},                                             // the folder that holds the book
        {"root", "/"},
        {"pages/gone", "nothing-here"},  // nowhere: it could be made later
        {"pages/loop", "loop"},          // a link to itself
        {"pages/chain", "sub/up.txt"},   // a link inside to one that leads out
    };
    for (const auto& [link, target] : links) {
        fs::create_symlink(target, book / link);
    }
    // The book is also found through a link to its folder: the walk starts at the real folder.
    fs::create_directory_symlink(book, folder / "book-link");

    for (const std::string& start : {book.string() + "/", (folder / "book-link").string() + "/"}) {
        const BookLinks found = FindBookLinks(start);
        EXPECT_EQ(Sorted(found.leading_out),
                  (std::vector<std::string>{"pages/bookish", "pages/chain", "pages/gone", "pages/loop", "pages/outside",
                                            "pages/sub/up.txt", "root", "top"}))
            << start;
        EXPECT_EQ(Sorted(found.folders_inside), (std::vector<std::string>{"pages/alias", "pages/around", "pages/self"}))
            << start;
    }
    // A folder with no links, and one that does not exist.
    EXPECT_TRUE(FindBookLinks((folder / "outside").string()).leading_out.empty());
    EXPECT_TRUE(FindBookLinks((folder / "missing").string()).leading_out.empty());
}

}  // namespace
}  // namespace quillora
