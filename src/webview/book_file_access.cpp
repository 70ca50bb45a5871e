#include "webview/book_file_access.hpp"

namespace quillora {

namespace {

// The folder as a pattern that matches only itself, written inside a JSON string: a regular
// expression escape is a backslash, which JSON writes as two.
std::string LiteralPattern(std::string_view text)
{
    std::string pattern;
    for (const char c : text) {
        if (std::string_view(".*+?^$()[]{}|\\/").find(c) != std::string_view::npos) {
            pattern += "\\\\";
        }
        if (c == '"') {
            pattern += "\\";
        }
        pattern += c;
    }
    return pattern;
}

}  // namespace

std::string BookFileAccessRules(std::string_view folder_uri)
{
    return "[{\"trigger\":{\"url-filter\":\"^file:\"},\"action\":{\"type\":\"block\"}},"
           "{\"trigger\":{\"url-filter\":\"^" + LiteralPattern(folder_uri) +
           "\"},\"action\":{\"type\":\"ignore-previous-rules\"}}]";
}

}  // namespace quillora
