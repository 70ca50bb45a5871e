#include "search/search_index.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <future>
#include <string>

#include "common/error.hpp"
#include "search/book_pages.hpp"
#include "search/match_context.hpp"
#include "search/page_text.hpp"
#include "search/search_query.hpp"

namespace quillora {

namespace fs = std::filesystem;

namespace {

// Marks a database as a book index of this layout; anything else in the file's place is unused.
constexpr int IndexApplicationId = 0x51756c72;  // "Qulr"
constexpr int IndexLayout = 2;                  // 2: the text is no longer kept

// Titles weigh ten times as much as the text in the ranking. Ordered by the table's own rank,
// so that the best pages are picked before any context line is made: only the pages shown get one.
constexpr const char* FindSql = "SELECT pages.path, pages.title FROM page_text JOIN pages ON pages.id = page_text.rowid"
                                " WHERE page_text MATCH ?1 AND rank MATCH 'bm25(10.0, 1.0)' ORDER BY rank LIMIT ?2";

void CreateTables(sqlite3* connection)
{
    const std::string marks = "PRAGMA application_id = " + std::to_string(IndexApplicationId) +
                              "; PRAGMA user_version = " + std::to_string(IndexLayout) + ";";
    sqlite::Execute(connection, marks.c_str());
    sqlite::Execute(connection, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                                "CREATE TABLE pages(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE,"
                                " size INTEGER NOT NULL, modified INTEGER NOT NULL, title TEXT NOT NULL);");
    // Contentless: the index keeps the words and where they are, not the text, which would more
    // than double the file; the few pages shown are read again for their context lines.
    sqlite::Execute(connection, (std::string("CREATE VIRTUAL TABLE page_text USING fts5(title, body, content = '', ") +
                                 PageTextTokenizer + ")")
                                    .c_str());
}

// The text of the pages from `begin` on, a batch at a time.
std::vector<PageText> ReadBatch(const fs::path& folder, const std::vector<BookPage>& pages, std::size_t begin)
{
    constexpr std::size_t BatchSize = 128;
    std::vector<PageText> texts;
    for (std::size_t i = begin; i < std::min(pages.size(), begin + BatchSize); ++i) {
        texts.push_back(ExtractPageText(ReadBookPage(folder / pages[i].path)));
    }
    return texts;
}

void FillIndex(sqlite3* connection, const fs::path& folder, const std::atomic<bool>* stop)
{
    const auto pages = ListBookPages(folder);
    sqlite::Execute(connection, "BEGIN");
    const auto add_page = sqlite::Prepare(connection, "INSERT INTO pages VALUES(?1, ?2, ?3, ?4, ?5)");
    const auto add_text = sqlite::Prepare(connection, "INSERT INTO page_text(rowid, title, body) VALUES(?1, ?2, ?3)");
    // The next batch of pages is read while this one goes into the index: parsing and indexing
    // take about the same time, and each has a core.
    const auto read_from = [&](std::size_t begin) {
        return std::async(std::launch::async, ReadBatch, std::cref(folder), std::cref(pages), begin);
    };
    auto next = read_from(0);
    for (std::size_t begin = 0; begin < pages.size();) {
        const std::vector<PageText> texts = next.get();
        const std::size_t end = begin + texts.size();
        if (end < pages.size()) {
            next = read_from(end);
        }
        if (stop != nullptr && stop->load()) {
            throw Error("indexing the book was stopped");
        }
        for (std::size_t i = begin; i < end; ++i) {
            const auto id = static_cast<std::int64_t>(i + 1);
            sqlite::Bind(add_page.get(), 1, id);
            sqlite::Bind(add_page.get(), 2, pages[i].path);
            sqlite::Bind(add_page.get(), 3, pages[i].size);
            sqlite::Bind(add_page.get(), 4, pages[i].modified);
            sqlite::Bind(add_page.get(), 5, texts[i - begin].title);
            sqlite::Run(add_page.get());
            sqlite::Bind(add_text.get(), 1, id);
            sqlite::Bind(add_text.get(), 2, texts[i - begin].title);
            sqlite::Bind(add_text.get(), 3, texts[i - begin].body);
            sqlite::Run(add_text.get());
        }
        begin = end;
    }
    // One merged tree per term: smaller, and quicker to query.
    sqlite::Execute(connection, "INSERT INTO page_text(page_text) VALUES('optimize'); COMMIT");
}

bool IsOurIndex(sqlite3* connection)
{
    const auto check = sqlite::Prepare(connection, "SELECT * FROM pragma_application_id, pragma_user_version");
    return sqlite::Step(check.get()) && sqlite::NumberColumn(check.get(), 0) == IndexApplicationId &&
           sqlite::NumberColumn(check.get(), 1) == IndexLayout;
}

std::vector<BookPage> IndexedPages(sqlite3* connection)
{
    std::vector<BookPage> pages;
    const auto list = sqlite::Prepare(connection, "SELECT path, size, modified FROM pages ORDER BY path");
    while (sqlite::Step(list.get())) {
        pages.push_back({sqlite::TextColumn(list.get(), 0), sqlite::NumberColumn(list.get(), 1),
                         sqlite::NumberColumn(list.get(), 2)});
    }
    return pages;
}

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SearchIndex::SearchIndex(sqlite::Connection connection, fs::path folder)
    : connection_(std::move(connection))
    , folder_(std::move(folder))
{}

SearchIndex SearchIndex::Build(const fs::path& folder, const std::string& database, const std::atomic<bool>* stop)
{
    if (database != ":memory:") {
        std::error_code ignored;
        fs::remove(database, ignored);
    }
    auto connection = sqlite::Open(database, sqlite::OpenMode::Create);
    CreateTables(connection.get());
    FillIndex(connection.get(), folder, stop);
    if (database != ":memory:") {
        // Merging the index leaves the pages of its parts free; a file that ships with the book
        // gives them back (a fifth of its size).
        sqlite::Execute(connection.get(), "VACUUM");
    }
    return SearchIndex(std::move(connection), folder);
}

std::optional<SearchIndex> SearchIndex::OpenFresh(const fs::path& folder)
{
    const fs::path file = folder / SearchIndexFileName;
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(file, error))) {
        return std::nullopt;
    }
    try {
        auto connection = sqlite::Open(file.string(), sqlite::OpenMode::ReadOnly);
        // Every page path in a fresh index is one that the listing found in the folder.
        if (!IsOurIndex(connection.get()) || IndexedPages(connection.get()) != ListBookPages(folder)) {
            return std::nullopt;
        }
        sqlite::Prepare(connection.get(), FindSql);  // the file has the tables a search asks for
        return SearchIndex(std::move(connection), folder);
    } catch (const Error&) {
        return std::nullopt;  // not a database, or not one of ours: built anew instead
    }
}

SearchIndex SearchIndex::Open(const fs::path& folder, const std::atomic<bool>* stop)
{
    if (auto fresh = OpenFresh(folder)) {
        return std::move(*fresh);
    }
    return Build(folder, ":memory:", stop);
}

std::vector<SearchHit> SearchIndex::Find(std::string_view words, std::size_t limit) const
{
    const std::string query = FullTextQueryOf(words);
    std::vector<SearchHit> hits;
    if (query.empty() || limit == 0) {
        return hits;
    }
    const auto find = sqlite::Prepare(connection_.get(), FindSql);
    sqlite::Bind(find.get(), 1, query);
    sqlite::Bind(find.get(), 2, static_cast<std::int64_t>(limit));
    while (sqlite::Step(find.get())) {
        SearchHit hit{sqlite::TextColumn(find.get(), 0), sqlite::TextColumn(find.get(), 1), {}};
        if (hit.title.empty()) hit.title = FileNameOf(hit.path);
        hits.push_back(std::move(hit));
    }
    std::vector<std::string> paths;
    for (const auto& hit : hits) paths.push_back(hit.path);
    auto contexts = MatchContexts(folder_, paths, query);
    for (std::size_t i = 0; i < hits.size(); ++i) hits[i].context = std::move(contexts[i]);
    return hits;
}

std::size_t SearchIndex::PageCount() const
{
    const auto count = sqlite::Prepare(connection_.get(), "SELECT count(*) FROM pages");
    sqlite::Step(count.get());
    return static_cast<std::size_t>(sqlite::NumberColumn(count.get(), 0));
}

void WriteSearchIndexFile(const fs::path& folder)
{
    const fs::path partial = folder / (std::string(SearchIndexFileName) + ".partial");
    try {
        SearchIndex::Build(folder, partial.string());
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
    std::error_code error;
    fs::rename(partial, folder / SearchIndexFileName, error);
    if (error) {
        fs::remove(partial, error);
        throw Error("cannot place the search index in " + folder.string() + ": " + error.message());
    }
}

}  // namespace quillora
