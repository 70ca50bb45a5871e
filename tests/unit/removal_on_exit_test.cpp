#include "common/removal_on_exit.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "menu/menu_file.hpp"
#include "support/temp_files.hpp"
#include "webview/book_addresses.hpp"

namespace quillora {
namespace {

namespace fs = std::filesystem;

// Names in `folder` that start with `stem`.
std::vector<std::string> EntriesStartingWith(const fs::path& folder, const std::string& stem)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem, 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(RemovalOnExit, TheMenuFileAndTheBooksLinkFolderGoWhenTheProgramIsKilled)
{
    test::TempDir tmp;
    const fs::path temporary = tmp / "tmp";
    fs::create_directory(temporary);
    // A book whose folder name is not UTF-8 is shown through a link folder; the link must be
    // removed, never followed into the book.
    const std::string book = tmp.File("caf\xE9") + "/";
    test::WriteFile(book + "index.html", "page");
    fs::create_directory(book + "images");
    test::WriteFile(book + "images/a.png", "png");

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        int pipe_ends[2];
        ASSERT_EQ(::pipe(pipe_ends), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipe_ends[0]);
            ::setenv("TMPDIR", temporary.c_str(), 1);
            const auto file = MenuFile::Create("x\r\n", temporary.string() + "/", [] { return std::string("KILLED"); });
            const BookAddresses addresses = BookAddresses::ForFolder(book);
            const bool linked = EntriesStartingWith(temporary, "quillora-book-").size() == 1;
            if (::write(pipe_ends[1], linked ? "1" : "0", 1) != 1) {
                ::_exit(2);
            }
            ::kill(::getpid(), signal);
            ::_exit(0);  // only reached when the signal did not end the program
        }
        ::close(pipe_ends[1]);
        char linked = 0;
        EXPECT_EQ(::read(pipe_ends[0], &linked, 1), 1);
        ::close(pipe_ends[0]);
        EXPECT_EQ(linked, '1') << "signal " << signal << ": the book needs its link folder";
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal;
        EXPECT_FALSE(fs::exists(temporary / ".KILLED.dmt")) << "signal " << signal;
        EXPECT_EQ(EntriesStartingWith(temporary, "quillora-book-"), std::vector<std::string>{})
            << "signal " << signal;
        EXPECT_EQ(test::ReadFile(book + "images/a.png"), "png") << "signal " << signal << ": the book is kept";
        EXPECT_EQ(test::ReadFile(book + "index.html"), "page") << "signal " << signal;
    }
}

TEST(RemovalOnExit, AFolderGoesWithEverythingInItAndLinksAreNotFollowed)
{
    test::TempDir tmp;
    const fs::path kept = tmp / "kept";
    test::WriteFile(kept / "file", "kept");
    const fs::path doomed = tmp / "doomed";
    // many entries, so that one read of the folder does not hold them all
    for (int n = 0; n < 300; ++n) {
        test::WriteFile(doomed / "inner" / ("long-name-of-a-file-" + std::to_string(n)), "x");
    }
    fs::create_directory_symlink(kept, doomed / "link to a folder");
    fs::create_symlink(kept / "file", doomed / "inner" / "link to a file");
    const fs::path single = tmp / "single file";
    test::WriteFile(single, "x");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RemoveOnExit(doomed.string());
        RemoveOnExit(single.string());
        RemoveOnExit(kept.string() + "/never-made");
        ::kill(::getpid(), SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_FALSE(fs::exists(fs::symlink_status(doomed)));
    EXPECT_FALSE(fs::exists(single));
    EXPECT_EQ(test::ReadFile(kept / "file"), "kept");
}

}  // namespace
}  // namespace quillora
