#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

struct KeptSettings;

// The texts of the about box `Sobre`, filled from the kept about texts at every click of the
// about button and kept between showings.
struct AboutFields {
    std::string CaptionTitle;
    std::string Copyright;  // starts empty; only a copyright other than "©" is ever written
    int AppNameSize = 22;   // points
    std::string Appname;
    std::string Version;
    std::string Description;  // lines, each followed by AboutLineBreak
    std::string Jump;         // web address
    std::string EMail;
};

// Ends every description line, the last one included.
inline constexpr std::string_view AboutLineBreak = "\n";
// The author's line separator inside `about_description`.
inline constexpr std::string_view AboutLineSeparator = "<!>";
// A copyright text of only this character means "no copyright line".
inline constexpr std::string_view AboutBareCopyrightSign = "\xC2\xA9";  // ©

// The description cut at every separator, left to right: a piece between two separators stays
// even when empty; the rest after the last one is kept only when not empty.
std::vector<std::string> CutAboutDescription(std::string_view description);

// Fills the fields in this order: caption, copyright, name size (a bad size fails with
// "'%s' is not a valid integer value", leaving the caption and copyright written and the rest
// as it was), name, version, description, web address, e-mail.
void FillAboutFields(AboutFields& fields, const KeptSettings& kept);

// What the box shows, given the application title (the `title` setting).
std::string AboutCaption(const AboutFields& fields, const std::string& application_title);
std::string AboutShownName(const AboutFields& fields, const std::string& application_title);
// The description lines for a label: without the break that ends the last line, and nothing
// at all when every line is empty.
std::string AboutShownDescription(const AboutFields& fields);
// The address a link opens: "mailto:" before a text with "@", any other text unchanged. A text
// that begins with its own scheme ("mailto:", "https:") is complete and stays unchanged.
std::string AboutLinkAddress(std::string_view text);
// The name's size in points for the font, kept within what a font can be drawn at; 0 means
// "the dialog's own size" (a size below one point).
int AboutNameFontPoints(int app_name_size);

}  // namespace quillora
