#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillora::pack {

// A value of a desktop entry key that holds a string: backslash, newline, tab and carriage
// return escaped, a space at either end kept by escaping it, and other control characters
// (which desktop entries may not hold) turned into spaces. Nothing in a title can end the
// line and so start a key of its own.
std::string EscapeDesktopValue(std::string_view text);

// One argument of an Exec line, before the value is escaped: in double quotes, with the
// characters that are special there escaped, and '%' doubled so that it is no field code.
std::string QuoteExecArgument(std::string_view text);

// The launcher `<book>.desktop` that starts the e-book `book` lying beside it. Desktop entries
// resolve no relative path, so Exec finds the book through %k, the launcher's own location, as
// file managers give it; where that names no book beside it (the launcher was copied into the
// applications menu) or is not given (GLib's `gio launch` gives none), the book is started
// from the folder it was written to. `title` names the launcher (the book's name when empty);
// `icon` is the absolute path of its icon. StartupWMClass names the window's class: the book's
// app id, which the runtime gives its windows.
std::string DesktopLauncherText(std::string_view title, const std::filesystem::path& book,
                                const std::filesystem::path& icon);

// Where the launcher and the icon of the e-book `book` are written: beside it, the launcher
// named after the book's app id (`atlas.desktop` for `atlas`, `My_Book.desktop` for `My Book`).
std::filesystem::path LauncherPath(const std::filesystem::path& book);
std::filesystem::path LauncherIconPath(const std::filesystem::path& book);

// The program's icon (SVG), written beside each e-book for its launcher.
std::string_view ProgramIconSvg();

}  // namespace quillora::pack
