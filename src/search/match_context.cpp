#include "search/match_context.hpp"

#include <sqlite3.h>

#include "search/book_pages.hpp"
#include "search/page_text.hpp"
#include "search/sqlite_handle.hpp"

namespace quillora {

std::vector<std::string> MatchContexts(const std::filesystem::path& folder, const std::vector<std::string>& pages,
                                       const std::string& query)
{
    std::vector<std::string> contexts(pages.size());
    if (pages.empty()) return contexts;
    // The few pages shown go into a small index of their own, whose snippets find the same
    // words as the book's index, in the same places.
    const auto connection = sqlite::Open(":memory:", sqlite::OpenMode::Create);
    sqlite::Execute(
        connection.get(),
        (std::string("CREATE VIRTUAL TABLE shown USING fts5(title, body, ") + PageTextTokenizer + ")").c_str());
    const auto add = sqlite::Prepare(connection.get(), "INSERT INTO shown(rowid, title, body) VALUES(?1, ?2, ?3)");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PageText text = ExtractPageText(ReadBookPage(folder / pages[i]));
        sqlite::Bind(add.get(), 1, static_cast<std::int64_t>(i));
        sqlite::Bind(add.get(), 2, text.title);
        sqlite::Bind(add.get(), 3, text.body);
        sqlite::Run(add.get());
    }
    const auto find = sqlite::Prepare(
        connection.get(), "SELECT rowid, snippet(shown, 1, char(2), char(3), '…', 16) FROM shown WHERE shown MATCH ?1");
    sqlite::Bind(find.get(), 1, query);
    while (sqlite::Step(find.get())) {
        contexts[static_cast<std::size_t>(sqlite::NumberColumn(find.get(), 0))] = sqlite::TextColumn(find.get(), 1);
    }
    return contexts;
}

}  // namespace quillora
