#include "appearance/about_texts.hpp"

#include <algorithm>
#include <utility>

#include "appearance/kept_settings.hpp"
#include "payload/conversions.hpp"

namespace quillora {

namespace {

// Larger names would only make a box wider than any screen and slow down text layout.
constexpr int LargestNamePoints = 144;

// "scheme:" at the start, as in "https:" or "mailto:" (two letters at least, so that a drive
// letter is not taken for one).
bool StartsWithScheme(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(text[0])) return false;
    return std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(colon),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; });
}

}  // namespace

std::vector<std::string> CutAboutDescription(std::string_view description)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto separator = description.find(AboutLineSeparator); separator != std::string_view::npos;
         separator = description.find(AboutLineSeparator, start)) {
        lines.emplace_back(description.substr(start, separator - start));
        start = separator + AboutLineSeparator.size();
    }
    if (start < description.size()) {
        lines.emplace_back(description.substr(start));
    }
    return lines;
}

void FillAboutFields(AboutFields& fields, const KeptSettings& kept)
{
    fields.CaptionTitle = kept.about_title;
    if (kept.about_copyright != AboutBareCopyrightSign) {
        fields.Copyright = kept.about_copyright;
    }
    fields.AppNameSize = ToNumber(kept.about_app_name_size);
    fields.Appname = kept.about_app_name;
    fields.Version = kept.about_version;
    std::string description;
    for (const std::string& line : CutAboutDescription(kept.about_description)) {
        description += line;
        description += AboutLineBreak;
    }
    fields.Description = std::move(description);
    fields.Jump = kept.about_web_address;
    fields.EMail = kept.about_email;
}

std::string AboutCaption(const AboutFields& fields, const std::string& application_title)
{
    return fields.CaptionTitle.empty() ? "Info " + application_title + "..." : fields.CaptionTitle;
}

std::string AboutShownName(const AboutFields& fields, const std::string& application_title)
{
    return fields.Appname.empty() ? application_title : fields.Appname;
}

std::string AboutShownDescription(const AboutFields& fields)
{
    std::string_view shown = fields.Description;
    if (shown.ends_with(AboutLineBreak)) {
        shown.remove_suffix(AboutLineBreak.size());
    }
    // Empty lines between texts keep their place; lines that are all empty show nothing.
    if (shown.find_first_not_of(AboutLineBreak) == std::string_view::npos) {
        return {};
    }
    return std::string(shown);
}

std::string AboutLinkAddress(std::string_view text)
{
    // An address that names its own scheme is already complete, even with an "@" in it.
    if (text.find('@') != std::string_view::npos && !StartsWithScheme(text)) {
        return "mailto:" + std::string(text);
    }
    return std::string(text);
}

int AboutNameFontPoints(int app_name_size)
{
    return std::clamp(app_name_size, 0, LargestNamePoints);
}

}  // namespace quillora
