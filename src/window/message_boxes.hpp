#pragma once

#include <gtk/gtk.h>

#include <string>

namespace quillora {

// The program's own warning box: warning icon, one OK button, modal, owned by the main window.
void ShowWarningBox(GtkWindow* owner, const std::string& caption, const std::string& text);

// The standard error report: error icon, the application title as caption, the text as given
// (the event boundary has already added the full stop).
void ShowErrorReport(GtkWindow* owner, const std::string& title, const std::string& text);

}  // namespace quillora
