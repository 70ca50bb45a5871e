// Searching a book: the reader's words as a query, ranking, context, and when the index that
// packing left beside the pages may be used.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "search/search_index.hpp"
#include "search/search_query.hpp"
#include "support/temp_files.hpp"

namespace quillora {
namespace {

using test::TempDir;

std::vector<std::string> PathsOf(const std::vector<SearchHit>& hits)
{
    std::vector<std::string> paths;
    for (const auto& hit : hits) paths.push_back(hit.path);
    return paths;
}

TEST(SearchQuery, EveryWordQuotedLastOneAPrefix)
{
    // reader's words -> query
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {" \t ", ""},
        {"fox", "\"fox\"*"},
        {"  quick   brown fox ", "\"quick\" \"brown\" \"fox\"*"},
        {"brown fo", "\"brown\" \"fo\""},     // too short to start words
        {"caf\xC3\xA9", "\"caf\xC3\xA9\"*"},  // three characters, four bytes
        {"say \"hi\"", "\"say\" \"\"\"hi\"\"\"*"},
        {"NEAR(a b) OR ***", "\"NEAR(a\" \"b)\" \"OR\" \"***\"*"},
        {std::string("sea\0shore\x01\x7F\0", 12), "\"sea\" \"shore\"*"},  // control characters part words
    };
    for (const auto& [words, query] : cases) {
        EXPECT_EQ(FullTextQueryOf(words), query) << words;
    }
}

class BookSearch : public ::testing::Test {
protected:
    void Page(const std::string& path, const std::string& html) { folder_.Write(path, html); }
    std::filesystem::path Folder() const { return folder_.Path(); }

private:
    TempDir folder_;
};

TEST_F(BookSearch, FindsRanksAndShowsContext)
{
    Page("index.html", "<title>Welcome</title><p>A book about foxes and the colour of rivers.</p>");
    Page("foxes.htm", "<title>Foxes</title><p>Red animals of the woods.</p>");
    Page("rivers/long.HTML", "<p>The river runs past the old mill, where a fox drinks at dusk.</p>");
    Page("notes.txt", "fox fox fox");
    Page(".hidden/secret.html", "<p>fox</p>");
    Page("script.html", "<script>var fox = 1;</script><p>nothing here</p>");
    const SearchIndex index = SearchIndex::Build(Folder());
    EXPECT_EQ(index.PageCount(), 4u);

    // words -> pages, best first
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"fox", {"foxes.htm", "index.html", "rivers/long.HTML"}},  // the title match first
        {"FOX mill", {"rivers/long.HTML"}},                        // every word, any case
        {"colour riv", {"index.html"}},                            // the last word a prefix
        {"elephant", {}},
        {"", {}},
        // What the reader types is never query syntax, and never an error.
        {"\"", {}},
        {"NEAR(fox", {}},
        {"*", {}},
        {"fox AND", {}},
        {"-fox", {"foxes.htm", "index.html", "rivers/long.HTML"}},
        {"'); DROP TABLE pages; --", {}},
    };
    for (const auto& [words, paths] : cases) {
        EXPECT_EQ(PathsOf(index.Find(words)), paths) << words;
    }

    const auto hits = index.Find("mill");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].title, "long.HTML");  // no title: the file's name
    EXPECT_NE(hits[0].context.find(std::string{MatchStart} + "mill" + MatchEnd), std::string::npos) << hits[0].context;
    EXPECT_EQ(index.Find("fox", 2).size(), 2u);

    // Closing the book while it is indexed stops the indexing instead of waiting for it.
    const std::atomic<bool> stop{true};
    EXPECT_THROW(SearchIndex::Build(Folder(), ":memory:", &stop), Error);
}

TEST_F(BookSearch, PackedIndexUsedOnlyWhileFresh)
{
    Page("a.html", "<p>apples</p>");
    Page("b/c.html", "<p>cherries</p>");
    WriteSearchIndexFile(Folder());
    ASSERT_TRUE(SearchIndex::OpenFresh(Folder()).has_value());
    EXPECT_EQ(PathsOf(SearchIndex::OpenFresh(Folder())->Find("cherries")), std::vector<std::string>{"b/c.html"});

    // change to the book -> the packed index is no longer used
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"a page rewritten", [&] { Page("a.html", "<p>bananas!</p>"); }},
        {"a page touched",
         [&] {
             std::filesystem::last_write_time(
                 Folder() / "a.html", std::filesystem::last_write_time(Folder() / "a.html") + std::chrono::hours(1));
         }},
        {"a page added", [&] { Page("new.htm", "<p>new</p>"); }},
        {"a page removed", [&] { std::filesystem::remove(Folder() / "b/c.html"); }},
        {"the index is no database", [&] { Page(SearchIndexFileName, "not a database"); }},
        {"an index of an earlier layout",
         [&] {
             const auto file = sqlite::Open((Folder() / SearchIndexFileName).string(), sqlite::OpenMode::Create);
             sqlite::Execute(file.get(), "PRAGMA user_version = 1");
         }},
    };
    for (const auto& [what, change] : changes) {
        WriteSearchIndexFile(Folder());
        change();
        EXPECT_FALSE(SearchIndex::OpenFresh(Folder()).has_value()) << what;
        // The book is still searched, from an index of its own.
        EXPECT_EQ(SearchIndex::Open(Folder()).PageCount(), SearchIndex::Build(Folder()).PageCount()) << what;
    }
}

}  // namespace
}  // namespace quillora
