#include "browsing/navigation_decision.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quillora {
namespace {

TEST(NavigationDecision, BookPagesRunActionsOthersLoadOrGoToTheDesktop)
{
    using enum NavigationStep;
    const std::string book = "/home/ana/Atlas/";
    const std::string page = "/home/ana/Atlas/pages/index.html";
    struct Case {
        const char* what;
        std::string address;
        std::string source;  // the document shown now
        bool failure_page;
        bool redirect;
        NavigationStep step;
        std::string action;  // the command, for an action link; empty for any other
    };
    const Case cases[] = {
        // pages the engine shows: loaded, from anywhere, redirected or not
        {"a page of the book", "file:///home/ana/Atlas/pages/b.html", page, false, false, GoOn, ""},
        {"a web page from a web page", "https://example.org/", "", false, false, GoOn, ""},
        {"a redirect to a web page", "HTTP://example.org/", "", false, true, GoOn, ""},
        {"the engine's blank page", "about:blank", "", false, false, GoOn, ""},
        // schemes the engine cannot show: the desktop's, when followed; nothing, when redirected
        {"a mail link", "mailto:ana@example.org", page, false, false, HandToDesktop, ""},
        {"a phone link from a web page", "tel:+351123", "", false, false, HandToDesktop, ""},
        {"a redirect to a mail address", "mailto:ana@example.org", "", false, true, Ignore, ""},
        // action links: the book's own pages run them, decoded, with the marker in any case
        {"an action of the book", "ACTION:APPLICATIONTITLE %Atlas%", page, false, false, RunAction,
         "APPLICATIONTITLE \"Atlas\""},
        {"a lower-case marker", "action:WEBHOME()", page, false, false, RunAction, "WEBHOME()"},
        {"the book's folder by a climb", "ACTION:WEBHOME()", "/home/ana/Atlas/pages/../../x.html", false, false, Ignore,
         "WEBHOME()"},
        {"a folder that only begins like the book's", "ACTION:WEBHOME()", "/home/ana/AtlasOther/a.html", false, false,
         Ignore, "WEBHOME()"},
        {"a web page", "ACTION:EXECUTEOROPENFILE \"sh\"", "", false, false, Ignore, "EXECUTEOROPENFILE \"sh\""},
        {"a redirect from the book's page", "ACTION:WEBHOME()", page, false, true, Ignore, "WEBHOME()"},
        // the failure page runs its own two links and nothing else
        {"the failure page's home link", "ACTION:WEBHOME()", "", true, false, RunAction, "WEBHOME()"},
        {"the failure page's back link", "ACTION:WEBBACK()", "", true, false, RunAction, "WEBBACK()"},
        {"another action on the failure page", "ACTION:APPLICATIONTITLE %x%", "", true, false, Ignore,
         "APPLICATIONTITLE \"x\""},
        {"a redirect on the failure page", "ACTION:WEBHOME()", "", true, true, Ignore, "WEBHOME()"},
    };
    for (const auto& c : cases) {
        const NavigationDecision decision = DecideNavigation({.address = c.address,
                                                              .source_document = c.source,
                                                              .book_folder = book,
                                                              .failure_page_shown = c.failure_page,
                                                              .redirect = c.redirect});
        EXPECT_EQ(decision.step, c.step) << c.what;
        EXPECT_EQ(decision.action_link, !c.action.empty()) << c.what;
        EXPECT_EQ(decision.action, c.action) << c.what;
    }
}

}  // namespace
}  // namespace quillora
