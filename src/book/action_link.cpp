#include "book/action_link.hpp"

#include <cstddef>
#include <filesystem>

#include "book/navigation_address.hpp"
#include "common/ascii_case.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {

namespace {

constexpr std::string_view Marker = "ACTION:";

}  // namespace

bool IsActionAddress(std::string_view address)
{
    for (std::size_t start = 0; start + Marker.size() <= address.size(); ++start) {
        if (StartsWithIgnoringCase(address.substr(start), Marker)) {
            return true;
        }
    }
    return false;
}

std::string ActionStringOf(std::string_view address)
{
    const std::string_view rest = address.substr(Utf8Prefix(address, Marker.size()).size());
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
    const std::string_view scheme = UriSchemeOf(address);
    if (scheme.empty()) {
        return true;
    }
    for (const std::string_view shown : {"http", "https", "file", "data", "about", "blob"}) {
        if (EqualsIgnoringCase(scheme, shown)) {
            return true;
        }
    }
    return false;
}

}  // namespace quillora
