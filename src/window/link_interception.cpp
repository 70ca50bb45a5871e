// Links whose target holds the action marker run a command of the action language instead of
// loading; every other navigation is remembered for the refresh button.
#include <algorithm>

#include "actions/action_interpreter.hpp"
#include "common/main_loop_source.hpp"
#include "book/action_link.hpp"
#include "browsing/failure_page.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/window_action_host.hpp"

namespace quillora {

void Tform_apresentacao::WebBeforeNavigate2(const std::string& url, bool& cancel)
{
    if (!IsActionAddress(url)) {
        if (!EngineShowsScheme(url)) {
            // mailto:, tel: and the like open on the desktop, as the reader expects; the page stays.
            cancel = true;
            if (!web_->DecidingRedirect()) {
                WindowActionHost(*this).OpenUri(url);
            }
            return;
        }
        RecordPageAddress(last_page_address_, url);
        return;
    }
    // Cancelled before anything else, so that it stays cancelled whatever the action does.
    cancel = true;
    // Only the book's own pages run actions: a page from anywhere else, or a server redirecting
    // to an action address, could otherwise start programs on the reader's machine.
    // The program's own page for a page that could not load runs its two links, and nothing else.
    const std::string action = ActionStringOf(url);
    const bool trusted = IsBookDocument(web_->LocalPathOf(web_->LocationURL()), executable_folder_) ||
                         (web_->ShowsOwnPage() && IsFailurePageAction(action));
    if (web_->DecidingRedirect() || !trusted) {
        g_message("An action link in %s was not run: only the e-book's own pages run actions",
                  web_->LocationURL().c_str());
        return;
    }
    // The action runs once the engine has been told the navigation is off, so that a message
    // box does not hold the navigation open.
    std::erase_if(pending_actions_, [](const MainLoopSource& source) { return !source.Pending(); });
    pending_actions_.push_back(AddIdle([this, action] { RunAction(action); }));
}

void Tform_apresentacao::RunAction(const std::string& action)
{
    WindowActionHost host(*this);
    RunActionString(action, host);
}

}  // namespace quillora
