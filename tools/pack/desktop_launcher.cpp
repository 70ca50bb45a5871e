#include "desktop_launcher.hpp"

#include "book/app_id.hpp"

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

std::string DesktopLauncherText(std::string_view title, const std::filesystem::path& book,
                                const std::filesystem::path& icon)
{
    const std::string name = book.filename().string();
    // sh gets the book's name as $1, the folder it was written to as $2 and the launcher's path,
    // when the launcher is given one, as $3.
    constexpr std::string_view Script =
        "d=$(dirname \"$3\"); [ -n \"$3\" ] && [ -x \"$d/$1\" ] || d=$2; exec \"$d/$1\"";
    const std::string exec = "sh -c " + QuoteExecArgument(Script) + " quillora-book " + QuoteExecArgument(name) + " " +
                             QuoteExecArgument(book.parent_path().string()) + " %k";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" +
           EscapeDesktopValue(title.empty() ? std::string_view(name) : title) +
           "\n"
           "Icon=" +
           EscapeDesktopValue(icon.string()) +
           "\n"
           "Exec=" +
           EscapeDesktopValue(exec) +
           "\n"
           "Terminal=false\n"
           // The window's class, so that desktops that match windows by it find this launcher.
           "StartupWMClass=" +
           BookAppId(name) + "\n";
}

std::filesystem::path LauncherPath(const std::filesystem::path& book)
{
    // Desktops find a window's launcher by the window's app id: the launcher is named after it.
    return book.parent_path() / (BookAppId(book.filename().string()) + ".desktop");
}

std::filesystem::path LauncherIconPath(const std::filesystem::path& book)
{
    return book.string() + ".svg";
}

}  // namespace quillora::pack
