#include "common/removal_on_exit.hpp"

#include <glib.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "book/book_addresses.hpp"
#include "menu/menu_file.hpp"
#include "support/temp_files.hpp"

namespace quillora {
namespace {

namespace fs = std::filesystem;

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
            const auto file = MenuFile::Create("x\r\n", temporary.string() + "/", [] { return std::string("KILLED"); });
            const BookAddresses addresses = BookAddresses::ForFolder(book);
            // The link folder, wherever the temporary folder is: the one above the link the
            // pages' addresses name. Empty when the book got no link.
            gchar* engine_path =
                g_filename_from_uri(addresses.AddressOf(book + "index.html").c_str(), nullptr, nullptr);
            const std::string linked_page = engine_path != nullptr ? engine_path : "";
            g_free(engine_path);
            const std::string link_folder = linked_page == book + "index.html"
                                                ? std::string()
                                                : fs::path(linked_page).parent_path().parent_path().string();
            if (::write(pipe_ends[1], link_folder.data(), link_folder.size()) !=
                static_cast<ssize_t>(link_folder.size())) {
                ::_exit(2);
            }
            ::close(pipe_ends[1]);
            ::kill(::getpid(), signal);
            ::_exit(0);  // only reached when the signal did not end the program
        }
        ::close(pipe_ends[1]);
        std::string link_folder;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
            link_folder.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipe_ends[0]);
        EXPECT_NE(fs::path(link_folder).filename().string().rfind("quillora-book-", 0), std::string::npos)
            << "signal " << signal << ": the book needs its link folder, not " << link_folder;
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal;
        EXPECT_FALSE(fs::exists(temporary / ".KILLED.dmt")) << "signal " << signal;
        EXPECT_FALSE(link_folder.empty() || fs::exists(fs::symlink_status(link_folder))) << "signal " << signal;
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
