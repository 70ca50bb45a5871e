#pragma once

#include <gtk/gtk.h>

#include <string>

namespace quillora {

// Keeps the window in step with the browser: the progress bar over the status bar's first
// panel, the document title in its second panel, and the back and forward buttons.
class BrowserStatus {
public:
    BrowserStatus(GtkProgressBar* progresso, GtkLabel* title_panel, GtkWidget* b_volta, GtkWidget* b_proximo)
        : progresso_(progresso)
        , title_panel_(title_panel)
        , b_volta_(b_volta)
        , b_proximo_(b_proximo)
    {}

    // Shows the bar at Progress (0..100, shown clamped), and hides it again when Progress is 0.
    void WebProgressChange(int progress);
    // The document title becomes the text of panel 1, unchanged.
    void WebTitleChange(const std::string& text);
    // 1: forward button enabled exactly when `enable`; 2: back button; anything else: nothing.
    void WebCommandStateChange(int command, bool enable);

private:
    GtkProgressBar* progresso_;
    GtkLabel* title_panel_;
    GtkWidget* b_volta_;
    GtkWidget* b_proximo_;
};

}  // namespace quillora
