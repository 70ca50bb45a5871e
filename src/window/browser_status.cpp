#include "window/browser_status.hpp"

#include <algorithm>

#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>

namespace quillora {

void BrowserStatus::WebProgressChange(int progress)
{
    progresso_.show();
    // The bar's range is 0 to 100: a value above shows full, a negative one empty.
    progresso_.set_fraction(std::clamp(progress, 0, 100) / 100.0);
    if (progress == 0) {
        progresso_.hide();
    }
}

void BrowserStatus::WebTitleChange(const std::string& text)
{
    if (title_panel_.get_text() != text) {
        title_panel_.set_text(text);
    }
}

void BrowserStatus::WebCommandStateChange(int command, bool enable)
{
    constexpr int CSC_NAVIGATEFORWARD = 1;
    constexpr int CSC_NAVIGATEBACK = 2;
    if (command == CSC_NAVIGATEFORWARD) {
        b_proximo_.set_sensitive(enable);
    } else if (command == CSC_NAVIGATEBACK) {
        b_volta_.set_sensitive(enable);
    }
}

}  // namespace quillora
