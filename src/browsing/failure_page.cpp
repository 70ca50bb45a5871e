#include "browsing/failure_page.hpp"

#include <glib.h>

#include <memory>

namespace quillora {

namespace {

constexpr std::string_view BackAction = "WEBBACK()";
constexpr std::string_view HomeAction = "WEBHOME()";

std::string Escaped(const std::string& text)
{
    const std::unique_ptr<gchar, decltype(&g_free)> escaped(
        g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size())), &g_free);
    return escaped.get();
}

struct Wording {
    const char* title;
    std::string explanation;  // HTML, its outside texts escaped
};

Wording WordingOf(const FailedLoad& failure)
{
    const std::string what = "<span class=\"what\">" + Escaped(failure.what) + "</span>";
    switch (failure.kind) {
    case LoadFailure::MissingFile:
        return {"Page not found", "The file " + what + " could not be found. It may have been moved or deleted."};
    case LoadFailure::Unreachable:
        return {"Cannot reach the address",
                "The address " + what + " could not be reached. The computer may be offline, or the site may be down."};
    case LoadFailure::Other: break;
    }
    std::string explanation = what + " could not be opened";
    if (!failure.reason.empty()) explanation += ": " + Escaped(failure.reason);
    return {"Cannot open the page", explanation + "."};
}

}  // namespace

std::string FailurePageHtml(const FailedLoad& failure)
{
    const Wording wording = WordingOf(failure);
    std::string links;
    if (failure.can_go_back) {
        links += "<a id=\"back\" href=\"ACTION:" + std::string(BackAction) + "\">Go back</a> ";
    }
    if (failure.has_home) {
        links += "<a id=\"home\" href=\"ACTION:" + std::string(HomeAction) + "\">Go to the home page</a>";
    }
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + std::string(wording.title) +
           "</title><style>"
           "body{font:15px/1.5 sans-serif;margin:3em auto;max-width:36em;padding:0 1em;color:#222;background:#fff}"
           "h1{font-size:1.4em}.what{font-family:monospace;overflow-wrap:anywhere}a{margin-right:1.5em}"
           "</style></head><body><h1>" +
           wording.title + "</h1><p>" + wording.explanation + "</p>" +
           (links.empty() ? std::string() : "<p>" + links + "</p>") + "</body></html>";
}

bool IsFailurePageAction(std::string_view action)
{
    return action == BackAction || action == HomeAction;
}

}  // namespace quillora
