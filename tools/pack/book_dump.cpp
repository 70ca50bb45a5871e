#include "book_dump.hpp"

#include "common/error.hpp"
#include "payload/payload.hpp"
#include "payload/setting_index.hpp"
#include "source_text.hpp"
#include "stored_path.hpp"

namespace quillora::pack {

std::string DumpSource(const SettingsList& lines)
{
    std::string text = "# E-book settings, as quillora-pack --dump writes them.\n";
    const int settings = std::min(lines.Count(), SettingCount);
    for (int index = 0; index < settings; ++index) {
        const auto& info = SettingAt(index);
        std::string value = lines.Get(index);
        if (info.kind == SettingKind::NotUsed && value.empty()) {
            continue;
        }
        if (info.kind == SettingKind::StoredPath) {
            value = SourceFormOfStoredPath(value);
        }
        text += std::string(info.name) + " = " + SourceValue(value) + '\n';
    }
    if (lines.Count() > SettingCount) {
        text += std::string(MenuMarker) + '\n';
        for (int index = SettingCount; index < lines.Count(); ++index) {
            text += lines.Get(index) + '\n';
        }
    }
    return text;
}

SettingsList ReadBookLines(const std::filesystem::path& book)
{
    const TPayload payload(book.string());
    try {
        if (!payload.IsPresent()) {
            throw quillora::Error(book.string() + " carries no e-book settings");
        }
        return SettingsList::FromPayloadBytes(payload.ReadText());
    } catch (const IoError& failure) {
        throw quillora::Error(book.string() + ": " + failure.what());
    }
}

}  // namespace quillora::pack
