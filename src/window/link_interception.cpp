// Links whose target holds the action marker run a command of the action language instead of
// loading; every other navigation is remembered for the refresh button.
#include <algorithm>
#include <utility>

#include "actions/action_interpreter.hpp"
#include "book/action_link.hpp"
#include "browsing/navigation_decision.hpp"
#include "common/main_loop_source.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/window_action_host.hpp"

namespace quillora {

void Tform_apresentacao::WebBeforeNavigate2(const std::string& url, bool& cancel)
{
    const std::string shown_document = web_->LocalPathOf(web_->LocationURL());
    NavigationDecision decision = DecideNavigation({.address = url,
                                                    .source_document = shown_document,
                                                    .book_folder = executable_folder_,
                                                    .failure_page_shown = web_->ShowsOwnPage(),
                                                    .redirect = web_->DecidingRedirect()});
    switch (decision.step) {
    case NavigationStep::GoOn: RecordPageAddress(last_page_address_, url); return;
    case NavigationStep::HandToDesktop:
        cancel = true;  // the page stays
        WindowActionHost(*this).OpenUri(url);
        return;
    case NavigationStep::Ignore:
        cancel = true;
        if (decision.action_link) {
            g_message("An action link in %s was not run: only the e-book's own pages run actions",
                      web_->LocationURL().c_str());
        }
        return;
    case NavigationStep::RunAction:
        // Cancelled before anything else, so that it stays cancelled whatever the action does.
        cancel = true;
        // The action runs once the engine has been told the navigation is off, so that a
        // message box does not hold the navigation open.
        std::erase_if(pending_actions_, [](const MainLoopSource& source) { return !source.Pending(); });
        pending_actions_.push_back(AddIdle([this, action = std::move(decision.action)] { RunAction(action); }));
        return;
    }
}

void Tform_apresentacao::RunAction(const std::string& action)
{
    WindowActionHost host(*this);
    RunActionString(action, host);
}

}  // namespace quillora
