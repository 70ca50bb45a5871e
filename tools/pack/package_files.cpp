#include "package_files.hpp"

#include "book/app_id.hpp"
#include "desktop_launcher.hpp"

namespace quillora::pack {
namespace {

// The description lines that say more than the summary: the first one goes when the summary
// was made from it, as a description that repeats its summary reads badly in a package list.
std::vector<std::string> ExtraDescription(const PackageMetadata& metadata)
{
    std::vector<std::string> lines = metadata.description;
    if (!lines.empty() && (lines.front() == metadata.summary || lines.front() == metadata.summary + ".")) {
        lines.erase(lines.begin());
    }
    return lines;
}

std::string Closing(const PackageMetadata& metadata)
{
    return metadata.title +
           " is an e-book that opens in a window of its own. Start it from the "
           "applications menu, or with the command " +
           metadata.name + ".";
}

bool IsWebAddress(std::string_view address)
{
    return (address.starts_with("http://") || address.starts_with("https://")) &&
           address.find_first_of(" \t<>\"") == std::string_view::npos;
}

}  // namespace

std::string PackageBookFolder(const PackageMetadata& metadata)
{
    return "usr/lib/" + metadata.name;
}

std::vector<std::string> WrapText(std::string_view text, std::size_t width)
{
    std::vector<std::string> lines;
    std::string line;
    while (!text.empty()) {
        const auto blank = text.find(' ');
        const auto word = text.substr(0, blank);
        text.remove_prefix(blank == std::string_view::npos ? text.size() : blank + 1);
        if (word.empty()) {
            continue;
        }
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(std::move(line));
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ControlText(const PackageMetadata& metadata, std::string_view architecture, std::string_view depends,
                        std::uintmax_t installed_kib)
{
    std::string text = "Package: " + metadata.name +
                       "\n"
                       "Version: " +
                       metadata.version +
                       "\n"
                       "Architecture: " +
                       std::string(architecture) +
                       "\n"
                       "Maintainer: " +
                       metadata.maintainer +
                       "\n"
                       "Installed-Size: " +
                       std::to_string(installed_kib) + "\n";
    if (!depends.empty()) {
        text += "Depends: " + std::string(depends) + "\n";
    }
    text += "Section: doc\nPriority: optional\n";
    if (IsWebAddress(metadata.web_address)) {
        text += "Homepage: " + metadata.web_address + "\n";
    }
    text += "Description: " + metadata.summary + "\n";
    // In the extended description a line of its own holding " ." parts paragraphs.
    for (const auto& line : ExtraDescription(metadata)) {
        if (line.empty()) {
            continue;
        }
        for (const auto& part : WrapText(line, 78)) {
            text += " " + part + "\n";
        }
        text += " .\n";
    }
    for (const auto& part : WrapText(Closing(metadata), 78)) {
        text += " " + part + "\n";
    }
    return text;
}

std::string PackageLauncherText(const PackageMetadata& metadata)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" +
           EscapeDesktopValue(metadata.title.empty() ? metadata.name : metadata.title) +
           "\n"
           "Comment=" +
           EscapeDesktopValue(metadata.summary) +
           "\n"
           "Icon=" +
           metadata.name +
           "\n"
           "Exec=/usr/bin/" +
           metadata.name +
           "\n"
           "Terminal=false\n"
           "Categories=Education;\n"
           "Keywords=e-book;book;\n"
           // The window's class, where the app id rule had to change the package's name.
           "StartupWMClass=" +
           BookAppId(metadata.name) + "\n";
}

std::string EscapeXml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string MetainfoText(const PackageMetadata& metadata)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<component type=\"desktop-application\">\n"
                       "  <id>" +
                       EscapeXml(ComponentId(metadata)) +
                       "</id>\n"
                       "  <metadata_license>FSFAP</metadata_license>\n"
                       "  <name>" +
                       EscapeXml(metadata.title) +
                       "</name>\n"
                       "  <summary>" +
                       EscapeXml(metadata.summary) +
                       "</summary>\n"
                       "  <description>\n";
    bool any = false;
    for (const auto& line : metadata.description) {
        if (!line.empty()) {
            text += "    <p>" + EscapeXml(line) + "</p>\n";
            any = true;
        }
    }
    if (!any) {
        text += "    <p>" + EscapeXml(Closing(metadata)) + "</p>\n";
    }
    text += "  </description>\n";
    const auto developer = SplitMaintainer(metadata.maintainer).name;
    if (!developer.empty()) {
        text += "  <developer_name>" + EscapeXml(developer) + "</developer_name>\n";
    }
    if (IsWebAddress(metadata.web_address)) {
        text += "  <url type=\"homepage\">" + EscapeXml(metadata.web_address) + "</url>\n";
    }
    return text + "  <launchable type=\"desktop-id\">" + metadata.name +
           ".desktop</launchable>\n"
           "  <provides>\n"
           "    <binary>" +
           metadata.name +
           "</binary>\n"
           "  </provides>\n"
           "  <content_rating type=\"oars-1.1\"/>\n"
           "</component>\n";
}

std::string CopyrightText(const PackageMetadata& metadata, std::string_view runtime_version)
{
    const bool has_line = !metadata.copyright.empty() && metadata.copyright != "\xC2\xA9";
    return metadata.title +
           "\n\n"
           "The pages and texts of this e-book:\n"
           "  " +
           (has_line ? metadata.copyright : "Copyright: the book names no holder") +
           "\n"
           "  Maintainer: " +
           metadata.maintainer +
           "\n\n"
           "The program that shows them is a copy of the Quillora runtime " +
           std::string(runtime_version) + ", made into this package by quillora-pack.\n";
}

std::string ChangelogText(const PackageMetadata& metadata, std::string_view runtime_version, std::string_view date)
{
    return metadata.name + " (" + metadata.version +
           ") unstable; urgency=medium\n\n"
           "  * " +
           metadata.title + ", packed with quillora-pack " + std::string(runtime_version) +
           ".\n\n"
           " -- " +
           metadata.maintainer + "  " + std::string(date) + "\n";
}

std::string EscapeRoffLine(std::string_view text)
{
    std::string escaped;
    // A line starting with '.' or '\'' would be a request.
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) {
        escaped = "\\&";
    }
    for (const char c : text) {
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string ManPageText(const PackageMetadata& metadata)
{
    const std::string name = EscapeRoffLine(metadata.name);
    std::string text = ".TH " + name + " 1 \"\" \"" + name + " " + EscapeRoffLine(metadata.version) +
                       "\" \"E-books\"\n"
                       ".SH NAME\n" +
                       name + " \\- " + EscapeRoffLine(metadata.summary) +
                       "\n"
                       ".SH SYNOPSIS\n.B " +
                       name +
                       "\n"
                       ".SH DESCRIPTION\n";
    for (const auto& line : ExtraDescription(metadata)) {
        if (!line.empty()) {
            text += EscapeRoffLine(line) + "\n.PP\n";
        }
    }
    return text + EscapeRoffLine(Closing(metadata)) + "\n";
}

}  // namespace quillora::pack
