#include "book/navigation_address.hpp"

#include <cstddef>
#include <optional>

#include "common/ascii_case.hpp"
#include "common/percent_escape.hpp"

namespace quillora {

namespace {

// The length of the UTF-8 character whose escapes begin at `at`, 0 when they do not form one
// (a stray continuation byte, an overlong form, a surrogate, a value above U+10FFFF).
std::size_t EscapedCharacterLength(std::string_view text, std::size_t at, std::string& bytes)
{
    const auto lead = EscapedByte(text, at);
    if (!lead || *lead < 0x80) {
        return 0;
    }
    std::size_t count = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (*lead >= 0xC2 && *lead <= 0xDF) {
        count = 2;
    } else if (*lead >= 0xE0 && *lead <= 0xEF) {
        count = 3;
        if (*lead == 0xE0) {
            low = 0xA0;
        } else if (*lead == 0xED) {
            high = 0x9F;
        }
    } else if (*lead >= 0xF0 && *lead <= 0xF4) {
        count = 4;
        if (*lead == 0xF0) {
            low = 0x90;
        } else if (*lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    bytes.assign(1, static_cast<char>(*lead));
    for (std::size_t i = 1; i < count; ++i) {
        const auto next = EscapedByte(text, at + 3 * i);
        // Only the byte after the lead has a narrowed range; the rest are plain continuations.
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (!next || *next < min || *next > max) {
            return 0;
        }
        bytes.push_back(static_cast<char>(*next));
    }
    return 3 * count;
}

}  // namespace

std::string DecodeNonAsciiEscapes(std::string_view address)
{
    std::string result;
    result.reserve(address.size());
    std::string bytes;
    std::size_t at = 0;
    while (at < address.size()) {
        if (address[at] == '%') {
            if (const std::size_t length = EscapedCharacterLength(address, at, bytes); length > 0) {
                result += bytes;
                at += length;
                continue;
            }
        }
        result.push_back(address[at]);
        ++at;
    }
    return result;
}

std::string_view UriSchemeOf(std::string_view address)
{
    if (address.empty() || !IsAsciiLetter(address.front())) {
        return {};
    }
    for (std::size_t i = 1; i < address.size(); ++i) {
        const char c = address[i];
        if (c == ':') {
            return address.substr(0, i);
        }
        const bool digit = c >= '0' && c <= '9';
        if (!IsAsciiLetter(c) && !digit && c != '+' && c != '-' && c != '.') {
            return {};
        }
    }
    return {};
}

bool HasUriScheme(std::string_view address)
{
    return !UriSchemeOf(address).empty();
}

}  // namespace quillora
