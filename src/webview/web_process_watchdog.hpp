#pragma once

#include <glib.h>

#include <cstdint>

#include "browsing/web_process_memory.hpp"
#include "common/main_loop_source.hpp"
#include "webview/web_browser.hpp"

namespace quillora {

// Holds the page's web processes to a memory limit from the program's own process. The engine
// enforces its limit from inside the web process, on the thread that runs the page's scripts,
// so a script that never yields grows past it unchecked. Once a second this sums the resident
// memory of the program's web processes (WebProcessesResidentBytes) and, past the limit, ends
// the browser's web process as over its memory limit: the browser reports it as the engine's
// own limit would (signal_web_process_terminated), and the page-stopped bar offers Reload.
class WebProcessWatchdog {
public:
    // How often the memory is looked at; the reaction time is at most this plus one look.
    static constexpr guint IntervalMs = 1000;

    WebProcessWatchdog(WebBrowser& browser, std::uint64_t limit_bytes);
    WebProcessWatchdog(const WebProcessWatchdog&) = delete;
    WebProcessWatchdog& operator=(const WebProcessWatchdog&) = delete;

    [[nodiscard]] std::uint64_t LimitBytes() const { return verdict_.LimitBytes(); }
    // A limit of the caller's own from now on (the tests use a small one).
    void SetLimitBytes(std::uint64_t limit_bytes) { verdict_ = WebProcessMemoryVerdict(limit_bytes); }
    // Looks once now, as the timer does.
    void Look();

private:
    WebBrowser& browser_;
    WebProcessMemoryVerdict verdict_;
    MainLoopSource timer_;
};

}  // namespace quillora
