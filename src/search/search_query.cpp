#include "search/search_query.hpp"

namespace quillora {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::string FullTextQueryOf(std::string_view words)
{
    std::string query;
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
        at = end;
    }
    if (!query.empty()) query += '*';
    return query;
}

}  // namespace quillora
