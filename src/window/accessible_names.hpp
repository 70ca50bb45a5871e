#pragma once

#include <string>

namespace Gtk {
class Box;
class Label;
class ProgressBar;
class ToolButton;
}  // namespace Gtk

namespace quillora {

// What assistive technologies announce for the window's bars.

// A tool button is announced by the author's hint; without one, by `fallback` (what it does).
// It can also be reached with the keyboard.
void NameToolButton(Gtk::ToolButton& button, const std::string& hint, const std::string& fallback);

// The status bar is a status bar to assistive technologies, its title panel and progress
// readable by name.
void DescribeStatusBar(Gtk::Box& barra_estado, Gtk::Label& title_panel, Gtk::ProgressBar& progresso);

}  // namespace quillora
