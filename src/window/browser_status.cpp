#include "window/browser_status.hpp"

#include <algorithm>

namespace quillora {

void BrowserStatus::WebProgressChange(int progress)
{
    gtk_widget_show(GTK_WIDGET(progresso_));
    // The bar's range is 0 to 100: a value above shows full, a negative one empty.
    gtk_progress_bar_set_fraction(progresso_, std::clamp(progress, 0, 100) / 100.0);
    if (progress == 0) {
        gtk_widget_hide(GTK_WIDGET(progresso_));
    }
}

void BrowserStatus::WebTitleChange(const std::string& text)
{
    if (gtk_label_get_text(title_panel_) != text) {
        gtk_label_set_text(title_panel_, text.c_str());
    }
}

void BrowserStatus::WebCommandStateChange(int command, bool enable)
{
    constexpr int CSC_NAVIGATEFORWARD = 1;
    constexpr int CSC_NAVIGATEBACK = 2;
    if (command == CSC_NAVIGATEFORWARD) {
        gtk_widget_set_sensitive(b_proximo_, enable);
    } else if (command == CSC_NAVIGATEBACK) {
        gtk_widget_set_sensitive(b_volta_, enable);
    }
}

}  // namespace quillora
