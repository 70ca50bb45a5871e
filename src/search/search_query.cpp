#include "search/search_query.hpp"

#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

constexpr std::size_t ShortestPrefix = 3;

// White space and every other control character: the index's own parser ends a quoted word at
// a NUL, so one left inside a word would make the query unreadable.
bool IsBlank(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code <= ' ' || code == 0x7F;
}

}  // namespace

std::string FullTextQueryOf(std::string_view words)
{
    std::string query;
    std::string_view last_word;
    std::size_t at = 0;
    while (true) {
        while (at < words.size() && IsBlank(words[at])) ++at;
        if (at == words.size()) break;
        std::size_t end = at;
        while (end < words.size() && !IsBlank(words[end])) ++end;
        if (!query.empty()) query += ' ';
        query += '"';
        for (const char c : words.substr(at, end - at)) {
            query += c;
            if (c == '"') query += '"';  // a quote inside a quoted word is written twice
        }
        query += '"';
        last_word = words.substr(at, end - at);
        at = end;
    }
    // A word of one or two letters starts too many words to be worth listing them all.
    if (!query.empty() && Utf8Length(last_word) >= ShortestPrefix) query += '*';
    return query;
}

}  // namespace quillora
