#pragma once

#include <string>
#include <string_view>

namespace quillora {

// What becomes of a navigation the engine is about to start: the one place that decides which
// documents may run actions and which addresses leave the engine for the desktop.

struct NavigationRequest {
    std::string_view address;          // where the navigation goes, as the engine hands it over
    std::string_view source_document;  // local path of the document shown now; empty when none is a local file
    std::string_view book_folder;      // the executable's folder, ending in "/"
    bool failure_page_shown = false;   // the document shown is the program's own page for a failed load
    bool redirect = false;             // a server redirects to the address; nobody clicked it
};

enum class NavigationStep {
    RunAction,      // cancel it and run `action` once the engine has been told
    Ignore,         // cancel it; nothing runs and nothing opens
    GoOn,           // let the engine load it
    HandToDesktop,  // cancel it and open the address with the desktop's program for its scheme
};

struct NavigationDecision {
    NavigationStep step = NavigationStep::GoOn;
    bool action_link = false;  // the address is an action link, whether it runs or is refused
    std::string action;        // the command an action link carries
};

NavigationDecision DecideNavigation(const NavigationRequest& request);

}  // namespace quillora
