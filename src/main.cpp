// The e-book runtime: one window that shows the pages of the e-book appended to this program.
#include <cstdlib>

#include <glibmm/exceptionhandler.h>
#include <gtkmm/main.h>

#include "common/event_boundary.hpp"
#include "webview/engine_settings.hpp"
#include "window/form_apresentacao.hpp"
#include "window/message_boxes.hpp"
#include "window/self_path.hpp"
#include "window/toolkit_setup.hpp"

int main(int argc, char* argv[])
{
    // Changes the environment, so before any thread starts.
    quillora::ChooseReaderEngineSettings();
    // The program reads no command line; GTK still gets its own options (--display, ...).
    if (!quillora::OpenDisplay(argc, argv)) {
        return EXIT_FAILURE;
    }
    Gtk::Main toolkit(argc, argv);

    std::unique_ptr<quillora::Tform_apresentacao> window;
    if (!quillora::AtEventBoundary([&] { window = quillora::Tform_apresentacao::Create(); })) {
        return EXIT_FAILURE;
    }
    quillora::SetErrorReporter([&window](const std::string& text) {
        quillora::ShowErrorReport(window ? window->gobj() : nullptr, window->ApplicationTitle(), text);
    });
    // A gtkmm handler that lets an exception escape is reported like any other, never aborts.
    Glib::add_exception_handler([] {
        quillora::AtEventBoundary([] { throw; });
    });

    // An error in start-up is reported and the window still opens with what was applied.
    quillora::AtEventBoundary([&] { window->FormCreate(quillora::ProgramPath()); });
    if (window->QuitRequested()) {
        return EXIT_SUCCESS;  // ended at start, before the window was ever used
    }
    Gtk::Main::run(*window);
    quillora::AtEventBoundary([&] { window->FormClose(); });
    quillora::SetErrorReporter(nullptr);
    return EXIT_SUCCESS;
}
