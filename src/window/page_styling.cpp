// Each finished document is recorded as the last page address and given the e-book's border
// and scroll-bar colours.
#include "book/action_link.hpp"
#include "common/error.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace quillora {

void Tform_apresentacao::WebDocumentComplete(const std::string& url)
{
    // Recorded before any styling, so that a styling failure never loses it.
    RecordPageAddress(last_page_address_, url);
    if (!kept_.styling.border_on && !kept_.styling.scrollbar_colors_on) {
        return;
    }
    // The first put the page refuses ends the styling; the report shows which.
    web_->RunScript(StylingScript(kept_.styling), {}, [](const std::string& failure) {
        if (!failure.empty()) {
            throw Error(failure);
        }
    });
}

}  // namespace quillora
