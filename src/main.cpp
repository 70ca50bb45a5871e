// The e-book runtime: one window that shows the pages of the e-book appended to this program.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "book/self_path.hpp"
#include "common/event_boundary.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "engine/library_loader.hpp"
#include "engine/load_engine.hpp"
#include "engine/missing_engine.hpp"
#include "webview/engine_settings.hpp"
#include "window/form_apresentacao.hpp"
#include "window/message_boxes.hpp"
#include "window/toolkit_setup.hpp"

namespace {

// A system without the engine, or with an older one than the book needs: one line for a reader
// at a terminal, and the same in a window for one who started the book from a launcher or a
// file manager and would otherwise see nothing at all.
int ReportMissingEngine(int& argc, char**& argv, const std::string& reason)
{
    const std::string program = argc > 0 && argv[0] != nullptr ? argv[0] : "quillora";
    const quillora::GCharPtr name(g_path_get_basename(program.c_str()));
    std::fprintf(stderr, "%s\n", quillora::MissingEngineLine(name.get(), reason).c_str());
    if (gtk_init_check(&argc, &argv)) {
        std::string path;
        try {
            path = quillora::ProgramPath();
        } catch (const std::exception&) {
            // The caption falls back to the program's name.
        }
        quillora::ShowErrorReport(nullptr, quillora::MissingEngineCaption(path),
                                  quillora::MissingEngineMessage(reason));
    }
    return EXIT_FAILURE;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Changes the environment, so before any thread starts.
    quillora::ChooseReaderEngineSettings();
    // Before anything touches the engine; GTK is linked and can still tell the reader.
    try {
        quillora::LoadEngine();
    } catch (const quillora::LibraryLoadError& error) {
        return ReportMissingEngine(argc, argv, error.what());
    }
    // The program reads no command line; GTK still gets its own options (--display, ...).
    if (!quillora::OpenDisplay(argc, argv)) {
        return EXIT_FAILURE;
    }

    std::unique_ptr<quillora::Tform_apresentacao> window;
    if (!quillora::AtEventBoundary([&] { window = quillora::Tform_apresentacao::Create(); })) {
        return EXIT_FAILURE;
    }
    quillora::SetErrorReporter([&window](const std::string& text) {
        quillora::ShowErrorReport(window->Window(), window->ApplicationTitle(), text);
    });

    // An error in start-up is reported and the window still opens with what was applied.
    quillora::AtEventBoundary([&] { window->FormCreate(quillora::ProgramPath()); });
    if (window->QuitRequested()) {
        return EXIT_SUCCESS;  // ended at start, before the window was ever used
    }
    // Closing the window ends the main loop, as hiding it would.
    const std::unique_ptr<GMainLoop, decltype(&g_main_loop_unref)> loop(g_main_loop_new(nullptr, FALSE),
                                                                        &g_main_loop_unref);
    const quillora::SignalConnection hidden = quillora::Connect<void(GtkWidget*)>(
        window->Widget(), "hide", [&loop](GtkWidget*) { g_main_loop_quit(loop.get()); });
    const quillora::SignalConnection closed = quillora::Connect<gboolean(GtkWidget*, GdkEvent*)>(
        window->Widget(), "delete-event", [](GtkWidget* widget, GdkEvent*) -> gboolean {
            gtk_widget_hide(widget);
            return TRUE;
        });
    gtk_widget_show(window->Widget());
    g_main_loop_run(loop.get());
    quillora::AtEventBoundary([&] { window->FormClose(); });
    quillora::SetErrorReporter(nullptr);
    return EXIT_SUCCESS;
}
