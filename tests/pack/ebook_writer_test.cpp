#include "ebook_writer.hpp"

#include <sys/stat.h>

#include <functional>

#include <gtest/gtest.h>

#include "common/error.hpp"
#include "pack_test_support.hpp"
#include "payload/payload.hpp"
#include "payload/payload_writer.hpp"
#include "search/search_index.hpp"

namespace quillora::pack {
namespace {

using testing::Listing;
using testing::ReadFile;
using testing::TempDir;
namespace fs = std::filesystem;
using testing::WriteFile;
using Names = std::vector<std::string>;

class EbookWriter : public ::testing::Test {
protected:
    EbookWriter()
    {
        WriteFile(source_ / "pages" / "index.html", "home");
        WriteFile(source_ / "pages" / "img" / "map.svg", "<svg/>");
        fs::create_directories(out_);
    }

    WriteRequest Request() const
    {
        WriteRequest request;
        request.runtime_image = "PROGRAM";
        request.payload_text = "Title\r\n";
        request.page_folders = {Planned(source_ / "pages")};
        request.output = out_ / "book";
        return request;
    }

    static PlannedPageFolder Planned(const fs::path& folder)
    {
        Diagnostics ignored;
        return PlanPageFolder({folder, folder.filename().string()}, {}, ignored);
    }

    std::string Failure(const WriteRequest& request)
    {
        try {
            WriteEbook(request);
        } catch (const quillora::Error& failure) {
            return failure.what();
        }
        return "<written>";
    }

    TempDir dir_;
    fs::path source_ = dir_ / "source";
    fs::path out_ = dir_ / "out";
};

TEST_F(EbookWriter, WritesTheProgramItsPayloadAndThePageFolder)
{
    WriteEbook(Request());
    EXPECT_EQ(ReadFile(out_ / "book"), AppendPayload("PROGRAM", "Title\r\n"));
    EXPECT_EQ(TPayload((out_ / "book").string()).ReadText(), "Title\r\n");
    EXPECT_EQ(ReadFile(out_ / "pages" / "img" / "map.svg"), "<svg/>");
    EXPECT_EQ(Listing(out_), (Names{"book", "book.desktop", "book.svg", "pages"}));  // no temporaries left
    struct stat info {};
    ASSERT_EQ(::stat((out_ / "book").c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IXUSR, 0u);
}

TEST_F(EbookWriter, ReplacesOnlyWhenAskedAndThenCompletely)
{
    WriteFile(out_ / "book", "old book");
    WriteFile(out_ / "pages" / "stale.html", "old page");
    auto request = Request();
    EXPECT_EQ(Failure(request), (out_ / "book").string() + " already exists (use --force to replace it)");
    fs::remove(out_ / "book");
    WriteFile(out_ / "book.desktop", "[Desktop Entry]\n");
    EXPECT_EQ(Failure(request), (out_ / "book.desktop").string() + " already exists (use --force to replace it)");
    fs::remove(out_ / "book.desktop");
    EXPECT_EQ(Failure(request), (out_ / "pages").string() + " already exists (use --force to replace it)");
    WriteFile(out_ / "book", "old book");
    EXPECT_EQ(ReadFile(out_ / "pages" / "stale.html"), "old page");

    request.replace = true;
    WriteEbook(request);
    EXPECT_EQ(ReadFile(out_ / "book"), AppendPayload("PROGRAM", "Title\r\n"));
    EXPECT_FALSE(fs::exists(out_ / "pages" / "stale.html"));
    EXPECT_EQ(Listing(out_ / "pages"), (Names{quillora::SearchIndexFileName, "img", "index.html"}));
    EXPECT_EQ(Listing(out_), (Names{"book", "book.desktop", "book.svg", "pages"}));
}

TEST_F(EbookWriter, AFailedCopyLeavesNothingBehind)
{
    // A page that vanished after the walk fails the copy after the program has been written.
    const auto request_before_removal = Request();
    fs::remove(source_ / "pages" / "img" / "map.svg");
    EXPECT_EQ(Failure(request_before_removal),
              "cannot copy " + (source_ / "pages" / "img" / "map.svg").string() + ": No such file or directory");
    EXPECT_EQ(Listing(out_), Names{});

    // With --force over an earlier e-book, the earlier one stays whole.
    WriteFile(out_ / "book", "old book");
    WriteFile(out_ / "pages" / "stale.html", "old page");
    auto request = request_before_removal;
    request.replace = true;
    EXPECT_NE(Failure(request), "<written>");
    EXPECT_EQ(Listing(out_), (Names{"book", "pages"}));
    EXPECT_EQ(ReadFile(out_ / "book"), "old book");
    EXPECT_EQ(Listing(out_ / "pages"), Names{"stale.html"});
}

TEST_F(EbookWriter, APageSwappedSinceTheWalkIsNotCopied)
{
    WriteFile(dir_ / "secret", "KEY");
    const fs::path page = source_ / "pages" / "img" / "map.svg";
    // what takes the page's place after the walk -> the copy refuses it, and nothing is written
    const std::pair<const char*, std::function<void()>> swaps[] = {
        {"a link to a file outside", [&] { fs::create_symlink(dir_ / "secret", page); }},
        {"a named pipe", [&] { ASSERT_EQ(::mkfifo(page.c_str(), 0600), 0); }},
    };
    for (const auto& [name, swap] : swaps) {
        SCOPED_TRACE(name);
        WriteFile(page, "<svg/>");
        const auto request = Request();
        fs::remove(page);
        swap();
        EXPECT_EQ(Failure(request), "cannot copy " + page.string() + ": it was replaced since it was checked");
        EXPECT_EQ(Listing(out_), Names{});
        fs::remove(page);
    }
}

TEST_F(EbookWriter, MissingFoldersAreMadeAndRemovedAgainOnFailure)
{
    auto request = Request();
    request.output = out_ / "a" / "b" / "book";
    WriteEbook(request);
    EXPECT_EQ(Listing(out_ / "a" / "b"), (Names{"book", "book.desktop", "book.svg", "pages"}));

    fs::remove(source_ / "pages" / "img" / "map.svg");  // vanished since the walk
    request.output = out_ / "c" / "d" / "book";
    EXPECT_NE(Failure(request), "<written>");
    EXPECT_EQ(Listing(out_), Names{"a"});
}

TEST_F(EbookWriter, AnEbookBesideItsOwnPageFolderCopiesNothing)
{
    auto request = Request();
    request.output = source_ / "book";
    WriteEbook(request);
    EXPECT_EQ(Listing(source_), (Names{"book", "book.desktop", "book.svg", "pages"}));
    EXPECT_EQ(ReadFile(source_ / "pages" / "index.html"), "home");
}

TEST_F(EbookWriter, EachPageFolderGetsAFreshSearchIndexUnlessLeftOut)
{
    // where the e-book goes, whether indexed -> the e-book's page folder, whether it has a fresh index
    const struct {
        fs::path output;
        bool search_index;
        fs::path pages;
        bool fresh;
    } cases[] = {
        {out_ / "book", true, out_ / "pages", true},
        {source_ / "book", true, source_ / "pages", true},  // beside its own page folder
        {dir_ / "plain" / "book", false, dir_ / "plain" / "pages", false},
    };
    for (const auto& c : cases) {
        auto request = Request();
        request.output = c.output;
        request.search_index = c.search_index;
        WriteEbook(request);
        const auto index = quillora::SearchIndex::OpenFresh(c.pages);
        ASSERT_EQ(index.has_value(), c.fresh) << c.output;
        if (index) {
            EXPECT_EQ(index->Find("home").size(), 1u) << c.output;
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "plain" / "pages" / quillora::SearchIndexFileName));
}

TEST_F(EbookWriter, RefusesWhatWouldLoseTheAuthorsFiles)
{
    auto request = Request();
    request.output = source_ / "pages" / "inner" / "book";  // pages copied into pages/inner/pages
    EXPECT_EQ(Failure(request), "the page folder " + (source_ / "pages").string() + " cannot be copied into itself (" +
                                    (source_ / "pages" / "inner" / "pages").string() + ")");

    request = Request();
    request.output = out_ / "pages";
    EXPECT_EQ(Failure(request), "the e-book " + (out_ / "pages").string() + " would have the name of its page folder");

    // A page folder named like the launcher would be swapped out by it.
    request = Request();
    WriteFile(source_ / "book.desktop" / "index.html", "home");
    request.page_folders = {Planned(source_ / "book.desktop")};
    request.replace = true;
    EXPECT_EQ(Failure(request),
              "the e-book's launcher " + (out_ / "book.desktop").string() + " would have the name of its page folder");

    request = Request();
    fs::create_directories(out_ / "pages" / "x" / "pages");
    request.page_folders = {Planned(out_ / "pages" / "x" / "pages")};
    request.replace = true;
    EXPECT_EQ(Failure(request), "the page folder " + (out_ / "pages" / "x" / "pages").string() + " lies inside " +
                                    (out_ / "pages").string() + ", which the e-book's page folder would replace");
    EXPECT_EQ(Listing(out_), Names{"pages"});
}

TEST_F(EbookWriter, AFolderIsNoOutputFile)
{
    auto request = Request();
    request.output = out_;
    EXPECT_EQ(Failure(request), out_.string() + " is a folder; name the e-book file to write");
}

}  // namespace
}  // namespace quillora::pack
