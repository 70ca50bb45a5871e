#include "browsing/navigation_decision.hpp"

#include <utility>

#include "book/action_link.hpp"
#include "browsing/failure_page.hpp"

namespace quillora {

NavigationDecision DecideNavigation(const NavigationRequest& request)
{
    if (!IsActionAddress(request.address)) {
        if (EngineShowsScheme(request.address)) {
            return {NavigationStep::GoOn, false, {}};
        }
        // mailto:, tel: and the like open on the desktop, as the reader expects, but only when
        // the reader followed them: a server must not start a desktop program by redirecting.
        return {request.redirect ? NavigationStep::Ignore : NavigationStep::HandToDesktop, false, {}};
    }
    // Only the book's own pages run actions: a page from anywhere else, or a server redirecting
    // to an action address, could otherwise start programs on the reader's machine. The
    // program's own page for a page that could not load runs its two links, and nothing else.
    std::string action = ActionStringOf(request.address);
    const bool trusted = IsBookDocument(std::string(request.source_document), std::string(request.book_folder)) ||
                         (request.failure_page_shown && IsFailurePageAction(action));
    return {trusted && !request.redirect ? NavigationStep::RunAction : NavigationStep::Ignore, true, std::move(action)};
}

}  // namespace quillora
