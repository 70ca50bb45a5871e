#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillora {

// The one place where errors stop. Every GTK and WebKit callback runs its body through
// AtEventBoundary, so no exception ever crosses a C callback: an Error (or any other exception)
// is shown in the standard error report, a SilentAbort ends the handler without a word.

// The report shows the text with a full stop appended when its last character sorts after the
// full stop (letters and digits do; a text ending in "." or "!" or ")" keeps its end).
std::string WithReportFullStop(std::string_view text);

// Shows one report; installed by the window (a modal error dialog). Without a reporter the
// text goes to standard error, which is what display-free code and tests see.
using ErrorReporter = std::function<void(const std::string& text)>;
void SetErrorReporter(ErrorReporter reporter);

// Runs `body`; returns false when it ended with an exception (reported or silent).
bool AtEventBoundary(const std::function<void()>& body) noexcept;

}  // namespace quillora
