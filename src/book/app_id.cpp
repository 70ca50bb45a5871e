#include "book/app_id.hpp"

#include <algorithm>

namespace quillora {

namespace {

constexpr std::size_t MaxAppIdLength = 255;

bool Allowed(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One element (the text between dots) with each run of characters an id may not hold made one
// '_'. The bytes of a UTF-8 character are all outside ASCII, so one character is one run.
std::string CleanElement(std::string_view element)
{
    std::string clean;
    for (const char c : element) {
        if (Allowed(c)) {
            clean += c;
        } else if (clean.empty() || clean.back() != '_') {
            clean += '_';
        }
    }
    if (!clean.empty() && IsDigit(clean.front())) {
        clean.insert(clean.begin(), '_');
    }
    return clean;
}

}  // namespace

std::string BookAppId(std::string_view book_file_name)
{
    std::string id;
    std::size_t start = 0;
    while (start <= book_file_name.size()) {
        const std::size_t dot = std::min(book_file_name.find('.', start), book_file_name.size());
        const std::string element = CleanElement(book_file_name.substr(start, dot - start));
        if (!element.empty()) {
            id += (id.empty() ? "" : ".") + element;
        }
        start = dot + 1;
    }
    if (id.size() > MaxAppIdLength) {
        id.resize(MaxAppIdLength);
        while (id.back() == '.') id.pop_back();  // no empty last element
    }
    return id.empty() ? "quillora-book" : id;
}

}  // namespace quillora
