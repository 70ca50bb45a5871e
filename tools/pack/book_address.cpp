#include "book_address.hpp"

#include <algorithm>
#include <vector>

#include "book/action_link.hpp"
#include "book/navigation_address.hpp"
#include "common/ascii_case.hpp"
#include "common/percent_escape.hpp"

namespace quillora::pack {
namespace {

bool IsUrlBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::string EngineAddress(std::string_view address)
{
    while (!address.empty() && IsUrlBlank(address.front())) {
        address.remove_prefix(1);
    }
    while (!address.empty() && IsUrlBlank(address.back())) {
        address.remove_suffix(1);
    }
    std::string cleaned;
    for (const char c : address) {
        if (c != '\t' && c != '\n' && c != '\r') {
            cleaned += c;
        }
    }
    return cleaned;
}

namespace {

std::vector<std::string> Split(std::string_view text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const auto slash = text.find('/', start);
        names.emplace_back(
            text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos) {
            return names;
        }
        start = slash + 1;
    }
}

}  // namespace

BookAddress ResolveBookAddress(std::string_view address, std::string_view page_path)
{
    BookAddress result;
    if (IsActionAddress(address)) {
        result.kind = BookAddress::Kind::Action;
        return result;
    }
    std::string text = EngineAddress(address);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (const auto hash = text.find('#'); hash != std::string::npos) {
        result.has_fragment = true;
        result.fragment = text.substr(hash + 1);
        text.resize(hash);
    }
    if (const auto query = text.find('?'); query != std::string::npos) {
        text.resize(query);
    }
    const std::string scheme = AsciiLowerCopy(UriSchemeOf(text));
    if (scheme.size() == 1 || scheme == "file" ||
        (scheme.empty() && text.starts_with('/') && !text.starts_with("//"))) {
        result.kind = BookAddress::Kind::Absolute;  // a drive letter, a file: address, a path from the root
        return result;
    }
    if (!scheme.empty() || text.starts_with("//")) {
        result.kind = BookAddress::Kind::Web;
        return result;
    }
    if (text.empty()) {
        result.path = page_path;  // a folder when a <base href> names one
        result.names_folder = result.path.ends_with('/');
        if (result.names_folder) {
            result.path.pop_back();
        }
        return result;
    }

    // The names of the page's folder, then each name of the address; "." and ".." (also
    // written as %2e) are resolved after decoding, as the engine does.
    std::vector<std::string> names = Split(page_path);
    names.pop_back();
    for (const auto& written : Split(text)) {
        const std::string name = PercentDecoded(written);
        if (name == "..") {
            if (names.empty()) {
                result.kind = BookAddress::Kind::Outside;
                return result;
            }
            names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
    }
    result.names_folder =
        text.ends_with('/') || text.ends_with("/.") || text.ends_with("/..") || text == "." || text == "..";
    for (const auto& name : names) {
        result.path += (result.path.empty() ? "" : "/") + name;
    }
    return result;
}

}  // namespace quillora::pack
