#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/sqlite_handle.hpp"

namespace quillora {

// The name of the index that quillora-pack leaves in a page folder. Hidden, so that packing the
// folder again leaves it out, and a reader's file manager does not show it.
inline constexpr const char* SearchIndexFileName = ".quillora-search.sqlite";

// In a hit's context, each match of the reader's words lies between these two characters.
inline constexpr char MatchStart = '\x02';
inline constexpr char MatchEnd = '\x03';

// A page that holds the reader's words.
struct SearchHit {
    std::string path;     // relative to the book's folder, with "/"
    std::string title;    // the page's title, or its file name when it has none
    std::string context;  // a line of the page's text around the matches, marked as above
};

// The text of every page of a book's folder, indexed for searching. Owns its database; may be
// built on one thread and used on another, but by one thread at a time.
class SearchIndex {
public:
    // Reads every page of `folder` (see ListBookPages) into a new index at `database`, or in
    // memory when that is ":memory:". An existing file there is replaced. Throws Error, also
    // when `stop` is set before the last page is read (another thread may set it).
    static SearchIndex Build(const std::filesystem::path& folder,
                             const std::string& database = ":memory:", const std::atomic<bool>* stop = nullptr);
    // The index that packing left in `folder`, when it still holds exactly the pages there with
    // their sizes and times; nothing when it is missing, stale, or not an index of ours.
    static std::optional<SearchIndex> OpenFresh(const std::filesystem::path& folder);
    // The fresh index of `folder` when there is one, else one built in memory now.
    static SearchIndex Open(const std::filesystem::path& folder, const std::atomic<bool>* stop = nullptr);

    // The pages that hold all of the reader's words, best first (a match in the title counts
    // more than one in the text), at most `limit` of them. Nothing for no words; never an error
    // for what the reader typed.
    std::vector<SearchHit> Find(std::string_view words, std::size_t limit = 50) const;
    std::size_t PageCount() const;

private:
    SearchIndex(sqlite::Connection connection, std::filesystem::path folder);
    sqlite::Connection connection_;
    std::filesystem::path folder_;  // whose pages give the context lines
};

// Builds the index of `folder` into SearchIndexFileName there, all or nothing: it is written to
// a temporary name first and renamed into place when complete. Throws Error.
void WriteSearchIndexFile(const std::filesystem::path& folder);

}  // namespace quillora
