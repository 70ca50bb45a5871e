// How an e-book's output is put in place when other runs, late files and signals interfere.
#include "output_commit.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/error.hpp"
#include "pack_test_support.hpp"

namespace quillora::pack {
namespace {

using testing::Listing;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// Stages a new book and page folder, lets the old ones appear only now (after any check at the
// start could have seen them), then places the pages and the book.
TEST(OutputCommit, AnythingThatAppearsLateIsReplacedOnlyWhenAsked)
{
    struct Case {
        bool old_pages, old_book;          // appear just before the renames
        bool replace_pages, replace_book;  // --force, per rename
        const char* refused;               // the name refused at its rename, or nullptr
    };
    // late files, replace -> refused name (everything as before) or the new book in place
    const Case cases[] = {
        {false, false, false, false, nullptr},
        {false, true, false, false, "book"},  // the pages placed first are taken back
        {true, false, false, false, "pages"},
        {true, true, true, true, nullptr},  // both swapped, the old ones gone
        {true, true, true, false, "book"},  // the swapped-in pages are swapped back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.old_pages << c.old_book << c.replace_pages << c.replace_book);
        TempDir dir;
        const fs::path out = dir / "out";
        std::string failure;
        {
            OutputCommit commit(out, "book");
            commit.CreateFolders();
            const auto book = commit.CreateTemporaryFile();
            ASSERT_EQ(::write(book.fd, "new book", 8), 8);
            const fs::path staging = commit.CreateTemporaryFolder();
            WriteFile(staging / "pages" / "new.html", "new page");
            if (c.old_pages) {
                WriteFile(out / "pages" / "old.html", "old page");
            }
            if (c.old_book) {
                WriteFile(out / "book", "old book");
            }
            try {
                commit.Place(staging / "pages", out / "pages", c.replace_pages);
                commit.Place(book.path, out / "book", c.replace_book);
                commit.Commit();
            } catch (const quillora::Error& error) {
                failure = error.what();
            }
        }
        if (c.refused != nullptr) {
            EXPECT_EQ(failure, (out / c.refused).string() + " already exists (use --force to replace it)");
            Names before;
            if (c.old_book) {
                before.push_back("book");
                EXPECT_EQ(ReadFile(out / "book"), "old book");
            }
            if (c.old_pages) {
                before.push_back("pages");
                EXPECT_EQ(Listing(out / "pages"), Names{"old.html"});
            }
            EXPECT_EQ(Listing(out), before);
        } else {
            EXPECT_EQ(failure, "");
            EXPECT_EQ(ReadFile(out / "book"), "new book");
            EXPECT_EQ(Listing(out / "pages"), Names{"new.html"});
            EXPECT_EQ(Listing(out), (Names{"book", "pages"}));
        }
    }
}

// A run that dies leaves temporaries; the next run for the same e-book takes away exactly those
// no live run holds, and only under their own exact names.
TEST(OutputCommit, InterruptedAndDeadRunsLeaveNothingBehind)
{
    TempDir dir;
    const fs::path out = dir / "out";
    fs::create_directories(out);

    // SIGTERM while a run holds a temporary file and a filled temporary folder, in output
    // folders it created: all of it goes, and the run ends of the signal.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            InstallInterruptCleanup();
            OutputCommit commit(out / "new" / "deeper", "book");
            commit.CreateFolders();
            commit.CreateTemporaryFile();
            const fs::path staging = commit.CreateTemporaryFolder();
            for (int i = 0; i < 200; ++i) {
                WriteFile(staging / "pages" / ("chapter" + std::to_string(i % 7)) / (std::to_string(i) + ".html"),
                          "page");
            }
            (void)::write(ready[1], "r", 1);
            for (;;) {
                ::pause();
            }
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(::kill(child, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(Listing(out), Names{});

    // What SIGKILL would leave: entry -> removed by the next run for "book"?
    struct Leftover {
        const char* name;
        bool folder;
        bool removed;
    };
    const Leftover leftovers[] = {
        {".book.packing-AbC123", false, true},
        {".book.packing-pages-xYz789", true, true},
        {".book.packing-Live00", false, false},       // locked below: a live run's
        {".book.packing-pages-Live01", true, false},  // likewise
        {".book.packing-ABC1234", false, false},      // not the exact naming
        {".book.packing-AB.123", false, false},
        {".other.packing-ABC123", false, false},       // another e-book's
        {".book.packing-pages-File00", false, false},  // a file under a folder's name
        {"book", false, false},
    };
    std::vector<UniqueFd> live_locks;
    for (const auto& leftover : leftovers) {
        const fs::path path = out / leftover.name;
        if (leftover.folder) {
            WriteFile(path / "pages" / "index.html", "page");
        } else {
            WriteFile(path, "bytes");
        }
        if (std::string_view(leftover.name).find("Live") != std::string_view::npos) {
            live_locks.emplace_back(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(::flock(live_locks.back().Get(), LOCK_EX), 0);
        }
    }
    // A link under the naming is never followed to what it names.
    WriteFile(dir / "elsewhere" / "keep.html", "keep");
    fs::create_directory_symlink(dir / "elsewhere", out / ".book.packing-pages-Link00");

    EXPECT_EQ(OutputCommit(out, "book").RemoveStaleTemporaries(), 2);
    Names kept = {".book.packing-pages-Link00"};
    for (const auto& leftover : leftovers) {
        if (!leftover.removed) {
            kept.push_back(leftover.name);
        }
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(out), kept);
    EXPECT_EQ(ReadFile(dir / "elsewhere" / "keep.html"), "keep");
}

}  // namespace
}  // namespace quillora::pack
