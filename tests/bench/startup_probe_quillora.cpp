// Start-up probe for the runtime: the same steps as the program's main(), except that the
// e-book's path comes from the command line instead of /proc/self/exe. When the home page has
// loaded for the first time it prints the load time and the memory (loaded_report.hpp) and ends.
//
// Usage: startup_probe_quillora PACKED-EBOOK
// The payload is read from PACKED-EBOOK and the pages from the folder beside it, so the whole
// start-up path of a real e-book runs; only the exec of the probe itself differs from running
// the e-book, and that costs the same as for any program linking GTK and WebKit.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <glibmm/main.h>
#include <gtkmm/main.h>

#include "common/event_boundary.hpp"
#include "loaded_report.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace {

constexpr unsigned TimeoutSeconds = 60;

void QuitLoopIfRunning()
{
    if (Gtk::Main::level() > 0) Gtk::Main::quit();
}

}  // namespace

int main(int argc, char* argv[])
{
    Gtk::Main toolkit(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PACKED-EBOOK\n", argv[0]);
        return 2;
    }
    // Absolute, as the program's own path always is: the home page's path is built from it.
    const std::string ebook = std::filesystem::absolute(argv[1]).string();

    // Declared before the window, so that they outlive every handler the window may call.
    bool failed = false;
    bool loaded = false;

    std::unique_ptr<quillora::Tform_apresentacao> window;
    if (!quillora::AtEventBoundary([&] { window = quillora::Tform_apresentacao::Create(); })) {
        return EXIT_FAILURE;
    }
    // An error report would be a modal dialog waiting for a click; a measurement fails instead.
    quillora::SetErrorReporter([&failed](const std::string& text) {
        std::fprintf(stderr, "startup_probe_quillora: error report: %s\n", text.c_str());
        failed = true;
        QuitLoopIfRunning();
    });

    window->Web().signal_document_complete.connect([&loaded](const std::string&) {
        if (loaded) return;
        loaded = true;
        quillora::bench::ReportLoaded();
        QuitLoopIfRunning();
    });
    Glib::signal_timeout().connect_seconds_once([&failed] {
        std::fprintf(stderr, "startup_probe_quillora: the home page did not load within %u s\n",
                     TimeoutSeconds);
        failed = true;
        QuitLoopIfRunning();
    }, TimeoutSeconds);

    quillora::AtEventBoundary([&] { window->FormCreate(ebook); });
    if (window->QuitRequested()) {
        std::fprintf(stderr, "startup_probe_quillora: the e-book ended at start\n");
        failed = true;
    } else if (!failed && webkit_web_view_get_uri(window->Web().View()) == nullptr) {
        std::fprintf(stderr, "startup_probe_quillora: %s opened no page (no payload?)\n",
                     ebook.c_str());
        failed = true;
    }
    if (!loaded && !failed) Gtk::Main::run(*window);
    quillora::SetErrorReporter(nullptr);
    return loaded && !failed ? EXIT_SUCCESS : EXIT_FAILURE;
}
