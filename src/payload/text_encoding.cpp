#include "payload/text_encoding.hpp"

#include <cstdint>

namespace quillora {

namespace {

// Windows-1252 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        // Windows-1252 reaches no further than the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        // The allowed range of the second byte excludes overlong forms, surrogates and code
        // points above U+10FFFF in one check.
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            if (lead == 0xE0) {
                low = 0xA0;
            } else if (lead == 0xED) {
                high = 0x9F;
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            if (lead == 0xF0) {
                low = 0x90;
            } else if (lead == 0xF4) {
                high = 0x8F;
            }
        } else {
            return false;
        }
        if (n - i <= extra) {
            return false;
        }
        if (p[i + 1] < low || p[i + 1] > high) {
            return false;
        }
        for (std::size_t k = 2; k <= extra; ++k) {
            if (!IsContinuation(p[i + k])) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

std::size_t Windows1252Utf8Size(std::string_view bytes)
{
    std::size_t size = bytes.size();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xA0) {
            ++size;
        } else if (byte >= 0x80) {
            size += Windows1252High[byte - 0x80] < 0x800 ? 1 : 2;
        }
    }
    return size;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    // Sized first, so that a large text is allocated once and never copied while it grows.
    std::string out;
    out.reserve(Windows1252Utf8Size(bytes));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F) {
            AppendUtf8(out, Windows1252High[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string DecodePayloadText(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::size_t Utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        if (!IsContinuation(static_cast<unsigned char>(c))) {
            ++count;
        }
    }
    return count;
}

std::string Utf8Prefix(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        if (!IsContinuation(static_cast<unsigned char>(text[end]))) {
            if (characters == count) {
                break;
            }
            ++characters;
        }
        ++end;
    }
    return std::string(text.substr(0, end));
}

}  // namespace quillora
