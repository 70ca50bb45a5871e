#include "webview/action_link.hpp"

#include <cstddef>

namespace quillora {

namespace {

constexpr std::string_view Marker = "ACTION:";

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

// The byte offset just after the first `count` UTF-8 characters (the end when there are fewer).
std::size_t AfterCharacters(std::string_view text, std::size_t count)
{
    std::size_t offset = 0;
    while (count > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && IsUtf8Continuation(text[offset])) {
            ++offset;
        }
        --count;
    }
    return offset;
}

}  // namespace

bool IsActionAddress(std::string_view address)
{
    if (address.size() < Marker.size()) {
        return false;
    }
    for (std::size_t start = 0; start + Marker.size() <= address.size(); ++start) {
        std::size_t i = 0;
        while (i < Marker.size() && UpperAscii(address[start + i]) == Marker[i]) {
            ++i;
        }
        if (i == Marker.size()) {
            return true;
        }
    }
    return false;
}

std::string ActionStringOf(std::string_view address)
{
    const std::string_view rest = address.substr(AfterCharacters(address, Marker.size()));
    std::string action;
    action.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            action += rest[i];
        } else if (rest.substr(i, 3) == "%20") {
            action += ' ';
            i += 2;
        } else {
            action += '"';
        }
    }
    return action;
}

void RecordPageAddress(std::string& last_page_address, const std::string& address)
{
    if (!IsActionAddress(address)) {
        last_page_address = address;
    }
}

}  // namespace quillora

#include <filesystem>

namespace quillora {

bool IsBookDocument(const std::string& document_path, const std::string& book_folder)
{
    if (document_path.empty() || book_folder.empty() || document_path.front() != '/') {
        return false;
    }
    // ".." and "." are resolved first, so that no path climbs out of the folder by its name.
    const std::string path = std::filesystem::path(document_path).lexically_normal().string();
    const std::string folder = std::filesystem::path(book_folder).lexically_normal().string();
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           (folder.back() == '/' || path[folder.size()] == '/');
}

bool EngineShowsScheme(std::string_view address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos) {
        return true;
    }
    std::string scheme;
    for (const char c : address.substr(0, colon)) {
        scheme += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const char* shown : {"http", "https", "file", "data", "about", "blob"}) {
        if (scheme == shown) {
            return true;
        }
    }
    return false;
}

}  // namespace quillora
