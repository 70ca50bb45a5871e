#pragma once

#include <gtk/gtk.h>

#include <string>

namespace quillora {

// What assistive technologies announce for the window's bars.

// A tool button is announced by the author's hint; without one, by `fallback` (what it does).
// It can also be reached with the keyboard.
void NameToolButton(GtkToolButton* button, const std::string& hint, const std::string& fallback);

// The status bar is a status bar to assistive technologies, its title panel and progress
// readable by name.
void DescribeStatusBar(GtkWidget* barra_estado, GtkWidget* title_panel, GtkWidget* progresso);

}  // namespace quillora
