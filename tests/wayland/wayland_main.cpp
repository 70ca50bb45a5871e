// Entry point of the Wayland GUI tests. Started without a Wayland display, the binary runs
// itself again on a private weston with a seat, so `./gui_tests_wayland` works anywhere.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "log_recorder.hpp"
#include "webview/engine_settings.hpp"

int main(int argc, char** argv)
{
    if (std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("QUILLORA_GUI_TESTS_REEXEC") == nullptr) {
        setenv("QUILLORA_GUI_TESTS_REEXEC", "1", 1);
        std::vector<char*> arguments{const_cast<char*>(QUILLORA_WITH_WESTON), const_cast<char*>("--seat")};
        arguments.insert(arguments.end(), argv, argv + argc);
        arguments.push_back(nullptr);
        execv(arguments.front(), arguments.data());
        perror("gui_tests_wayland: cannot start " QUILLORA_WITH_WESTON);
        return EXIT_FAILURE;
    }
    quillora::test::LogRecorder::Install();
    // Wayland only: no X11 to fall back to unseen.
    setenv("GDK_BACKEND", "wayland", 1);
    unsetenv("DISPLAY");
    setenv("NO_AT_BRIDGE", "1", 0);
    // No GPU for the engine's compositing on a headless machine.
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    quillora::ChooseReaderEngineSettings();

    testing::InitGoogleTest(&argc, argv);
    if (!gtk_init_check(&argc, &argv)) {
        fprintf(stderr, "gui_tests_wayland: cannot open the Wayland display\n");
        return EXIT_FAILURE;
    }
    return RUN_ALL_TESTS();
}
