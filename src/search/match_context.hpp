#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillora {

// How the book's text is cut into words for searching: accents are ignored, so that "cafe"
// finds "café". The index and the context lines must cut alike.
inline constexpr const char* PageTextTokenizer = "tokenize = 'unicode61 remove_diacritics 2'";

// The line of context shown for each of `pages` (paths relative to `folder`, with "/"): the
// text around the matches of `query` (a full-text query, see FullTextQueryOf), each match marked
// with MatchStart and MatchEnd. Made from the pages themselves, read anew, so that the index
// need keep no copy of the text. A page that no longer holds the words gets "".
std::vector<std::string> MatchContexts(const std::filesystem::path& folder, const std::vector<std::string>& pages,
                                       const std::string& query);

}  // namespace quillora
