// Entry point of the GUI tests. Started without a display, the binary runs itself again on a
// private virtual one, so `./gui_tests` works on a machine without a screen.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "webview/engine_settings.hpp"

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QUILLORA_GUI_TESTS_REEXEC") == nullptr) {
        setenv("QUILLORA_GUI_TESTS_REEXEC", "1", 1);
        std::vector<char*> arguments{const_cast<char*>(QUILLORA_WITH_XVFB)};
        arguments.insert(arguments.end(), argv, argv + argc);
        arguments.push_back(nullptr);
        execv(arguments.front(), arguments.data());
        perror("gui_tests: cannot start " QUILLORA_WITH_XVFB);
        return EXIT_FAILURE;
    }
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GDK_BACKEND", "x11", 0);
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    // The engine runs as it does in the runtime.
    quillora::ChooseReaderEngineSettings();

    testing::InitGoogleTest(&argc, argv);
    gtk_init(&argc, &argv);
    // A critical from GLib, GTK or the engine is a bug in how we use them: stop right there.
    // Warnings stay warnings; the engine prints harmless ones on a virtual display.
    g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR));
    return RUN_ALL_TESTS();
}
