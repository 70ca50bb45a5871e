#include "desktop_launcher.hpp"

namespace quillora::pack {

std::string EscapeDesktopValue(std::string_view text)
{
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool at_end = i == 0 || i + 1 == text.size();
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == ' ' && at_end) {
            escaped += "\\s";  // readers drop blanks around a value
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            escaped += ' ';
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string QuoteExecArgument(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string DesktopLauncherText(std::string_view title, std::string_view book_name,
                                const std::filesystem::path& icon)
{
    // sh gets the launcher's path as $0 and the book's name as $1, and starts the book beside
    // the launcher; the script is quoted for the Exec line like any other argument.
    const std::string exec = "sh -c " + QuoteExecArgument("exec \"$(dirname \"$0\")/$1\"") +
                             " %k " + QuoteExecArgument(book_name);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" + EscapeDesktopValue(title.empty() ? book_name : title) + "\n"
           "Icon=" + EscapeDesktopValue(icon.string()) + "\n"
           "Exec=" + EscapeDesktopValue(exec) + "\n"
           "Terminal=false\n";
}

std::filesystem::path LauncherPath(const std::filesystem::path& book)
{
    return book.string() + ".desktop";
}

std::filesystem::path LauncherIconPath(const std::filesystem::path& book)
{
    return book.string() + ".svg";
}

}  // namespace quillora::pack
