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
