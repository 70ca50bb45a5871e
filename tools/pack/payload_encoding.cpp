#include "payload_encoding.hpp"

#include <algorithm>
#include <cstdio>

#include "payload/setting_index.hpp"
#include "payload/settings_list.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

std::string CodePointName(char32_t c)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

}  // namespace

std::string EncodePayload(const BookPlan& plan, OutputEncoding encoding, const std::string& file,
                          Diagnostics& diagnostics)
{
    if (encoding == OutputEncoding::Utf8) {
        return plan.PayloadText();
    }
    SettingsList encoded_lines;
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
                              "character " + CodePointName(unwritable) + " cannot be written in windows-1252" +
                                  (line == 0 ? " (the default value)" : ""));
            continue;
        }
        encoded_lines.Append(*bytes);
    }
    std::string encoded = encoded_lines.ToText();
    const bool has_high_bytes =
        std::any_of(encoded.begin(), encoded.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!diagnostics.HasErrors() && has_high_bytes && IsValidUtf8(encoded)) {
        diagnostics.Error(file, 0, "",
                          "in windows-1252 these texts happen to form valid UTF-8, "
                          "which the runtime would read as UTF-8; write the e-book in utf-8");
    }
    return encoded;
}

}  // namespace quillora::pack
