#include "webview/web_process_watchdog.hpp"

#include <unistd.h>

#include <chrono>

namespace quillora {

WebProcessWatchdog::WebProcessWatchdog(WebBrowser& browser, std::uint64_t limit_bytes)
    : browser_(browser)
    , verdict_(limit_bytes)
    ,
    // A plain timeout rather than a seconds timeout, which may slip by up to a second to share
    // a wake-up: at a few hundred megabytes a second, that second counts.
    timer_(AddTimeout(std::chrono::milliseconds(IntervalMs), [this] {
        Look();
        return true;
    }))
{}

void WebProcessWatchdog::Look()
{
    const std::uint64_t resident = WebProcessesResidentBytes(ReadProcesses("/proc"), ::getpid());
    if (verdict_.Look(resident) == WebProcessMemoryVerdict::Action::End) {
        g_warning("The page's web process uses %llu MiB, past the limit of %llu MiB: it is ended.",
                  static_cast<unsigned long long>(resident >> 20),
                  static_cast<unsigned long long>(verdict_.LimitBytes() >> 20));
        browser_.EndWebProcessOverMemoryLimit();
    }
}

}  // namespace quillora
