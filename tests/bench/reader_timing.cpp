// Times what a reader waits for: a click on the home button until the home page is painted, an
// action link until its effect is on screen (HIDESTATUSBAR(), LOADHTML), a chosen menu item until
// its action has run, and building a custom menu of 1,000 items. Medians of several rounds.
// Run under a display: scripts/with-xvfb build/bench/tests/bench/reader_timing
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/event_boundary.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "menu/menu_model.hpp"
#include "menu/profile_reader.hpp"
#include "payload/payload_writer.hpp"
#include "payload/setting_index.hpp"
#include "webview/web_browser.hpp"
#include "window/custom_menu.hpp"
#include "window/form_apresentacao.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rounds = 15;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void RunUntil(const std::function<bool()>& done)
{
    const auto give_up = Clock::now() + std::chrono::seconds(20);
    while (!done() && Clock::now() < give_up) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

// Runs the main loop until the widget has been drawn once more.
void UntilDrawn(GtkWidget* widget)
{
    bool drawn = false;
    const quillora::SignalConnection connection =
        quillora::Connect<gboolean(GtkWidget*, cairo_t*)>(widget, "draw", [&drawn](GtkWidget*, cairo_t*) -> gboolean {
            drawn = true;
            return FALSE;
        });
    gtk_widget_queue_draw(widget);
    RunUntil([&] { return drawn; });
}

std::string TitleOf(GtkWindow* window)
{
    const char* title = gtk_window_get_title(window);
    return title != nullptr ? title : "";
}

// The first item of a menu shell.
GtkMenuItem* FirstItem(GtkWidget* shell)
{
    GList* children = gtk_container_get_children(GTK_CONTAINER(shell));
    auto* first = children != nullptr ? GTK_MENU_ITEM(children->data) : nullptr;
    g_list_free(children);
    return first;
}

std::vector<std::string> Settings()
{
    using namespace quillora::setting;
    std::vector<std::string> s(quillora::SettingCount, "0");
    s[title] = "Timing";
    s[gradient_start_color] = "clNavy";
    s[border_style] = "2";
    s[window_width] = "800";
    s[window_height] = "600";
    s[home_page] = "C:\\Books\\Timing\\pages\\index.html";
    s[toolbar_visible] = s[status_bar_visible] = s[custom_menu_on] = "-1";
    for (int i = home_button_visible; i <= forward_button_visible; ++i) s[static_cast<std::size_t>(i)] = "-1";
    s[about_app_name_size] = "22";
    s[caption_font] = s[startup_action] = "";
    s.emplace_back("[GERAL]");
    s.emplace_back("MENU_0=&Book");
    s.emplace_back("[MENU]");
    s.emplace_back("ITENS_0=&Title");
    s.emplace_back("[ACOES]");
    s.emplace_back("MENUx0_0=APPLICATIONTITLE \"Chosen\"");
    return s;
}

void TimeReader(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder / "pages");
    std::string text;
    for (int i = 0; i < 60; ++i) text += "<p>Paragraph " + std::to_string(i) + " of the chapter.</p>";
    std::ofstream(folder / "pages" / "index.html")
        << "<title>Home</title><a id='hide' href='ACTION:HIDESTATUSBAR()'>h</a>"
           "<a id='load' href='ACTION:LOADHTML %C:\\Books\\Timing\\pages\\chapter.html%'>l</a>"
        << text;
    std::ofstream(folder / "pages" / "chapter.html") << "<title>Chapter</title>" << text;
    std::string payload;
    for (const auto& line : Settings()) payload += line + "\r\n";
    std::ofstream(folder / "book", std::ios::binary) << quillora::AppendPayload("runtime", payload);

    auto window = quillora::Tform_apresentacao::Create();
    int loads = 0;
    const quillora::EventConnection loads_watch =
        window->Web().signal_document_complete.Connect([&](const std::string&) { ++loads; });
    if (!quillora::AtEventBoundary([&] { window->FormCreate((folder / "book").string()); })) {
        return;  // reported on standard error
    }
    gtk_widget_show(window->Widget());
    RunUntil([&] { return loads == 1; });
    GtkWidget* page = window->Web().Widget();
    GtkWidget* status = window->RequireComponent("barra_estado");
    const std::string chapter = (folder / "pages" / "chapter.html").string();

    // Loads a page, or runs what starts one, and waits until it has loaded.
    const auto loaded_after = [&](const std::function<void()>& start) {
        const int before = loads;
        start();
        RunUntil([&] { return loads > before; });
    };
    GtkMenuItem* book_menu = FirstItem(window->RequireComponent("Menu_Normal"));
    GtkMenuItem* title_item = FirstItem(gtk_menu_item_get_submenu(book_menu));

    std::vector<double> home, hidden, hide, load, menu;
    for (int round = 0; round < Rounds; ++round) {
        loaded_after([&] { window->Web().Navigate(chapter); });
        UntilDrawn(page);
        auto start = Clock::now();
        loaded_after([&] { window->b_homeClick(); });
        UntilDrawn(page);
        home.push_back(Milliseconds(Clock::now() - start));

        gtk_widget_show(status);
        start = Clock::now();
        window->Web().RunScript("document.getElementById('hide').click()");
        RunUntil([&] { return !gtk_widget_get_visible(status); });
        hidden.push_back(Milliseconds(Clock::now() - start));
        UntilDrawn(window->Widget());
        hide.push_back(Milliseconds(Clock::now() - start));

        start = Clock::now();
        loaded_after([&] { window->Web().RunScript("document.getElementById('load').click()"); });
        UntilDrawn(page);
        load.push_back(Milliseconds(Clock::now() - start));

        gtk_window_set_title(window->Window(), "Timing");
        start = Clock::now();
        gtk_menu_item_activate(title_item);
        RunUntil([&] { return TitleOf(window->Window()) == "Chosen"; });
        menu.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%-44s %8.1f ms\n", "home click until the home page is painted", Median(home));
    std::printf("%-44s %8.1f ms\n", "HIDESTATUSBAR() link until the bar is hidden", Median(hidden));
    std::printf("%-44s %8.1f ms\n", "HIDESTATUSBAR() link until the window redraws", Median(hide));
    std::printf("%-44s %8.1f ms\n", "LOADHTML link until the page is painted", Median(load));
    std::printf("%-44s %8.1f ms\n", "menu item until its action has run", Median(menu));
    window->FormClose();
}

void TimeMenuBuild()
{
    std::string definition = "[GERAL]\n";
    std::string items = "[MENU]\n";
    std::string actions = "[ACOES]\n";
    for (int menu = 0; menu < 10; ++menu) {
        definition += "MENU_" + std::to_string(menu) + "=Menu " + std::to_string(menu) + "\n";
        items += "ITENS_" + std::to_string(menu) + "=";
        for (int item = 0; item < 100; ++item) {
            items += (item > 0 ? "-@-" : "") + std::string("Item ") + std::to_string(item);
            actions += "MENUx" + std::to_string(menu) + "_" + std::to_string(item) + "=WEBHOME()\n";
        }
        items += "\n";
    }
    const std::string text = definition + items + actions;
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        const auto bar = quillora::GObjectPtr<GtkWidget>::Sink(gtk_menu_bar_new());
        quillora::CustomMenu menu(GTK_MENU_BAR(bar.get()));
        const auto start = Clock::now();
        menu.Build(quillora::BuildMenuModel(quillora::ProfileText::Parse(text)));
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%-44s %8.1f ms\n", "reading and building a menu of 1,000 items", Median(times));
}

// The largest definition the bounds still cut short: 100 menus, 100 lists of 49 items and 4,900
// sub-item lists, every caption 2047 characters long (10.5 MB). The build stops at 5,000 entries.
void TimeBoundedMenuBuild()
{
    const std::string long_caption(2047, 'y');
    std::string text = "[GERAL]\n";
    for (int menu = 0; menu < 100; ++menu) {
        text += "MENU_" + std::to_string(menu) + "=" + long_caption + "\n";
    }
    text += "[MENU]\n";
    for (int menu = 0; menu < 100; ++menu) {
        text += "ITENS_" + std::to_string(menu) + "=";
        for (int item = 0; item < 49; ++item) {
            text += std::string(38, 'x') + "-@-";
        }
        text += "\n";
    }
    text += "[SUBMENUS]\n";
    for (int item = 0; item < 4900; ++item) {
        text += "ITENS-|" + std::to_string(item / 49) + "." + std::to_string(item % 49) + "|=" + long_caption + "\n";
    }
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        const auto bar = quillora::GObjectPtr<GtkWidget>::Sink(gtk_menu_bar_new());
        quillora::CustomMenu menu(GTK_MENU_BAR(bar.get()));
        const auto start = Clock::now();
        menu.Build(quillora::BuildMenuModel(quillora::ProfileText::Parse(text)));
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%-44s %8.1f ms\n", "reading 10.5 MB, building the 5,000 entries", Median(times));
}

}  // namespace

int main(int argc, char* argv[])
{
    gtk_init(&argc, &argv);
    const auto folder = std::filesystem::temp_directory_path() / "quillora-reader-timing";
    TimeReader(folder);
    TimeMenuBuild();
    TimeBoundedMenuBuild();
    std::filesystem::remove_all(folder);
    return 0;
}
