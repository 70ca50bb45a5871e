#pragma once

#include <string>

namespace quillora {

// Names the program after the e-book at `book_path` (its app id): the Wayland app id and the X11
// WM_CLASS of every window follow, and so the launcher of the same name is found for them.
// Before the windows are made; OpenDisplay does it for the running book.
void NameProgramAfterBook(const std::string& book_path);

// Names the program after the running book, then opens the display that GTK is told to use (with GTK's own options
// taken from the command line). Without one there is nothing to show an e-book on: says so in one line on standard
// error, naming what the environment lacks, and returns false.
[[nodiscard]] bool OpenDisplay(int& argc, char**& argv);

// Everything GTK needs once before the window description is built: the compiled-in resources,
// the engine's widget type, the images as an icon theme (so they render sharp at any scale),
// and the base style sheet. Safe to call more than once.
void PrepareToolkit();

}  // namespace quillora
