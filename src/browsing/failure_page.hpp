#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The short page of the program's own that stands in for a page that could not be loaded, so
// that the reader is never left on the engine's raw error text without a way on.

enum class LoadFailure {
    MissingFile,  // a file of the book (or any local file) that is not there
    Unreachable,  // a web address that cannot be reached: offline, or the site is down
    Other,        // anything else; `reason` says what
};

struct FailedLoad {
    LoadFailure kind = LoadFailure::Other;
    std::string what;          // the file's path or the address, as the reader should read it
    std::string reason;        // the engine's words, shown for Other only
    bool can_go_back = false;  // there is a page the reader came from
    bool has_home = false;     // the book has a home page to go to
};

// The page's HTML in UTF-8. Every text from outside is escaped; the two links are action links
// that go back and home.
std::string FailurePageHtml(const FailedLoad& failure);

// Whether an action string is one that the failure page's links carry: only these may run from it.
bool IsFailurePageAction(std::string_view action);

}  // namespace quillora
