// How a page whose script never yields is held to the web process's memory limit: the peak
// resident memory of the web processes, read from outside every 20 ms, and the time from the
// first look that found them past the limit to the page-stopped report; also what one look of
// the watchdog costs. The limit is the engine's own for this machine unless given in MiB.
// Run under a display: scripts/with-xvfb build/bench/tests/bench/watchdog_timing [LIMIT_MIB|0] [ROUNDS]
#include <gtk/gtk.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "browsing/web_process_memory.hpp"
#include "webview/web_browser.hpp"
#include "webview/web_engine_context.hpp"
#include "webview/web_process_watchdog.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t MiB = 1024 * 1024;

bool RunUntil(const std::function<bool()>& done, std::chrono::seconds limit)
{
    const auto give_up = Clock::now() + limit;
    while (!done() && Clock::now() < give_up) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return done();
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv)
{
    gtk_init(&argc, &argv);
    const std::uint64_t given = argc > 1 ? std::strtoull(argv[1], nullptr, 10) * MiB : 0;
    const std::uint64_t limit = given != 0 ? given : quillora::WebProcessMemoryLimitBytes();
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    // What one look costs: reading every process's status and summing.
    {
        constexpr int Looks = 200;
        const auto start = Clock::now();
        std::uint64_t sum = 0;
        for (int n = 0; n < Looks; ++n) {
            sum += quillora::WebProcessesResidentBytes(quillora::ReadProcesses("/proc"), ::getpid());
        }
        std::printf("one look: %.3f ms over %zu processes (%llu)\n", Milliseconds(Clock::now() - start) / Looks,
                    quillora::ReadProcesses("/proc").size(), static_cast<unsigned long long>(sum));
    }

    const auto context = quillora::MakeBookWebContext();
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context.get(), nullptr));
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    gtk_widget_show_all(window);
    {
        quillora::WebBrowser browser(WEBKIT_WEB_VIEW(view));
        browser.Connect();
        quillora::WebProcessWatchdog watchdog(browser, limit);
        std::printf("limit %llu MiB, a look every %u ms\n", static_cast<unsigned long long>(limit / MiB),
                    quillora::WebProcessWatchdog::IntervalMs);

        bool over_limit = false;
        bool ended = false;
        const quillora::EventConnection terminated = browser.signal_web_process_terminated.Connect([&](bool over) {
            ended = true;
            over_limit = over;
        });
        for (int round = 0; round < rounds; ++round) {
            bool loaded = false;
            quillora::EventConnection connection =
                browser.signal_document_complete.Connect([&](const std::string&) { loaded = true; });
            webkit_web_view_load_html(WEBKIT_WEB_VIEW(view), "<p>hoarder</p>", "about:blank");
            RunUntil([&] { return loaded; }, std::chrono::seconds(20));
            connection.Disconnect();
            ended = false;

            std::uint64_t peak = 0;
            std::optional<Clock::time_point> past;
            struct Sampling {
                std::uint64_t* peak;
                std::optional<Clock::time_point>* past;
                std::uint64_t limit;
            } sampling{&peak, &past, limit};
            const guint sampler = g_timeout_add(
                20,
                [](gpointer data) -> gboolean {
                    auto& s = *static_cast<Sampling*>(data);
                    const auto now = quillora::WebProcessesResidentBytes(quillora::ReadProcesses("/proc"), ::getpid());
                    *s.peak = std::max(*s.peak, now);
                    if (now > s.limit && !*s.past) {
                        *s.past = Clock::now();
                    }
                    return G_SOURCE_CONTINUE;
                },
                &sampling);
            const auto start = Clock::now();
            browser.RunScript(
                "let keep = []; for (;;) { const a = new Uint8Array(50 << 20); a.fill(7); keep.push(a); }",
                [](const std::string&) {});
            const bool stopped = RunUntil([&] { return ended; }, std::chrono::seconds(300));
            const auto end = Clock::now();
            g_source_remove(sampler);
            std::printf("round %d: %s%s after %.1f s; peak %llu MiB (%.0f%% of the limit); reported %.0f ms after a "
                        "look found the limit passed\n",
                        round + 1, stopped ? "stopped" : "NOT stopped", over_limit ? " over memory" : "",
                        Milliseconds(end - start) / 1000, static_cast<unsigned long long>(peak / MiB),
                        100.0 * static_cast<double>(peak) / static_cast<double>(limit),
                        past ? Milliseconds(end - *past) : -1.0);
            // Let the ended process give its memory back before the next round.
            RunUntil(
                [&] {
                    return quillora::WebProcessesResidentBytes(quillora::ReadProcesses("/proc"), ::getpid()) <
                           limit / 4;
                },
                std::chrono::seconds(20));
        }
    }
    gtk_widget_destroy(window);
    return 0;
}
