#include "payload_encoding.hpp"

#include <algorithm>
#include <cstdio>

#include "payload/setting_index.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

// The characters of bytes 0x80 to 0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr char32_t HighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

std::optional<unsigned char> ByteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    for (int i = 0; i < 32; ++i) {
        const bool undefined = HighControls[i] == 0;
        if ((undefined && c == char32_t(0x80 + i)) || (!undefined && c == HighControls[i])) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// The next code point of valid UTF-8 text.
char32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
    ++at;
    while (extra-- > 0 && at < text.size()) {
        c = (c << 6) | (byte(at++) & 0x3F);
    }
    return c;
}

std::string CodePointName(char32_t c)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view text, char32_t& first_unwritable)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        const auto byte = ByteOf(c);
        if (!byte) {
            first_unwritable = c;
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

std::string EncodePayload(const BookPlan& plan, OutputEncoding encoding, const std::string& file,
                          Diagnostics& diagnostics)
{
    if (encoding == OutputEncoding::Utf8) {
        return plan.PayloadText();
    }
    std::string encoded;
    const auto all_lines = [&] {
        std::vector<std::string> lines = plan.settings;
        lines.insert(lines.end(), plan.menu.begin(), plan.menu.end());
        return lines;
    }();
    for (std::size_t i = 0; i < all_lines.size(); ++i) {
        char32_t unwritable = 0;
        const auto bytes = Utf8ToWindows1252(all_lines[i], unwritable);
        if (!bytes) {
            const int index = static_cast<int>(i);
            const std::string subject =
                index < SettingCount ? SettingSubject(SettingAt(index).name) : std::string("menu");
            const int line = i < plan.lines.size() ? plan.lines[i] : 0;
            diagnostics.Error(file, line, subject,
                              "character " + CodePointName(unwritable) +
                                  " cannot be written in windows-1252" +
                                  (line == 0 ? " (the default value)" : ""));
            continue;
        }
        encoded += *bytes + "\r\n";
    }
    const bool has_high_bytes = std::any_of(encoded.begin(), encoded.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80;
    });
    if (!diagnostics.HasErrors() && has_high_bytes && IsValidUtf8(encoded)) {
        diagnostics.Error(file, 0, "", "in windows-1252 these texts happen to form valid UTF-8, "
                                       "which the runtime would read as UTF-8; write the e-book in utf-8");
    }
    return encoded;
}

}  // namespace quillora::pack
