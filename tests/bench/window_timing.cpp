// Times what the window does at start on a real display: each of the fourteen opening
// animations on an 800 x 600 window against its steps times the 10 ms pause, and the time that
// applying the settings adds to start-up (start-up with a payload, animation off, against
// start-up of the bare runtime). Run under a display: scripts/with-xvfb build/bench/tests/bench/window_timing
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "appearance/animation_shapes.hpp"
#include "common/event_boundary.hpp"
#include "payload/payload_writer.hpp"
#include "payload/setting_index.hpp"
#include "window/form_apresentacao.hpp"
#include "window/window_animation.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void TimeAnimations()
{
    std::printf("%-4s %-26s %6s %10s %10s %7s\n", "kind", "effect", "steps", "steps*10ms", "measured", "ratio");
    const char* names[] = {"disappear, ellipse",    "appear, ellipse",         "disappear, rectangle",
                           "appear, rectangle",     "disappear, horizontally", "appear, horizontally",
                           "disappear, vertically", "appear, vertically",      "disappear, television",
                           "appear, television",    "disappear, to top",       "appear, to top",
                           "disappear, to bottom",  "appear, to bottom"};
    for (int kind = 0; kind < 14; ++kind) {
        GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
        gtk_window_resize(GTK_WINDOW(window), 800, 600);
        quillora::WindowAnimation animation;
        const auto start = Clock::now();
        const bool played = animation.Play(GTK_WINDOW(window), *quillora::EffectForKind(kind));
        if (!played) {
            gtk_widget_destroy(window);
            break;  // closed meanwhile
        }
        const double measured = Milliseconds(Clock::now() - start);
        const double nominal = animation.LastStepCount() * 10.0;
        std::printf("%-4d %-26s %6d %8.0f ms %7.0f ms %6.2fx\n", kind, names[kind], animation.LastStepCount(), nominal,
                    measured, measured / nominal);
        gtk_widget_destroy(window);
    }
}

double TimeStartup(const std::string& program_path)
{
    auto window = quillora::Tform_apresentacao::Create();
    const auto start = Clock::now();
    quillora::AtEventBoundary([&] { window->FormCreate(program_path); });
    return Milliseconds(Clock::now() - start);
}

void TimeApplySettings()
{
    const auto folder = std::filesystem::temp_directory_path() / "quillora-window-timing";
    std::filesystem::create_directories(folder / "pages");
    std::ofstream(folder / "pages" / "index.html") << "<title>x</title>";
    std::ofstream(folder / "bare", std::ios::binary) << "no payload";

    std::vector<std::string> settings(quillora::SettingCount, "0");
    using namespace quillora::setting;
    settings[title] = "Timing";
    settings[gradient_start_color] = "clNavy";
    settings[border_style] = "2";
    settings[window_width] = "800";
    settings[window_height] = "600";
    settings[home_page] = "C:\\x\\pages\\index.html";
    settings[caption_font] = "";
    settings[startup_action] = "";
    std::string text;
    for (const auto& line : settings) text += line + "\r\n";
    std::ofstream(folder / "book", std::ios::binary) << quillora::AppendPayload("runtime", text);

    std::vector<double> bare;
    std::vector<double> with_settings;
    for (int run = 0; run < 21; ++run) {
        bare.push_back(TimeStartup((folder / "bare").string()));
        with_settings.push_back(TimeStartup((folder / "book").string()));
    }
    std::printf("\nstart-up (FormCreate), median of 21: bare runtime %.2f ms, with settings "
                "(no animation) %.2f ms: applying the settings adds %.2f ms\n",
                Median(bare), Median(with_settings), Median(with_settings) - Median(bare));
    std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char* argv[])
{
    gtk_init(&argc, &argv);
    TimeAnimations();
    TimeApplySettings();
    return 0;
}
