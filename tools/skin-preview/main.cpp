// skin-preview: pictures of the stored skins for the docs.
//
// Builds the real window from the compiled-in description, fills it the way a reader sees it
// (a page, a custom menu with one menu open, the progress bar half way, back and forward
// disabled, one button hovered and one pressed), switches each stored skin on in turn and saves
// a picture of the screen area the window covers.
//
//   skin-preview OUTPUT_FOLDER [INDEX...]         skinNN.png for each skin (default: all)
//   skin-preview --tooltip OUTPUT_FOLDER [INDEX...]  the pointer rests on a button instead, so
//                                                  its tool tip shows (no menu is opened)
//   skin-preview --dialogs OUTPUT_FOLDER [INDEX...]  a message box and the about box
//
// Run it on a display of its own: scripts/with-xvfb build/tools/skin-preview/skin-preview docs/images/skins
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/tool_commands.hpp"
#include "appearance/skin_store.hpp"
#include "common/gobject_ptr.hpp"
#include "window/skin_engine.hpp"
#include "window/toolkit_setup.hpp"

namespace {

using namespace std::chrono_literals;

// Runs the main loop until `done` holds or `timeout` passes.
bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        while (g_main_context_pending(nullptr)) {
            g_main_context_iteration(nullptr, FALSE);
            if (done()) return true;
        }
        g_usleep(5000);
    }
    return done();
}

void RunFor(std::chrono::milliseconds duration)
{
    RunUntil([] { return false; }, duration);
}

const char* const SamplePage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Atlas of the North</title>
<style>
  body { font-family: "DejaVu Serif", serif; margin: 0; background: #fdfcf8; color: #2a2a2a; }
  header { padding: 22px 28px 14px; background: linear-gradient(#e9eef2, #fdfcf8); }
  h1 { margin: 0; font-size: 26px; letter-spacing: 0.5px; }
  p.sub { margin: 4px 0 0; color: #667; font-style: italic; }
  main { padding: 0 28px; font-size: 14px; line-height: 1.55; }
  a { color: #1d5fa8; }
  .box { float: right; width: 150px; height: 96px; margin: 4px 0 8px 18px;
         background: linear-gradient(160deg, #a8c8e0, #e7f0f6 60%, #cfe0c8); border-radius: 4px; }
</style></head>
<body><header><h1>Atlas of the North</h1><p class="sub">Fjords, islands and the long light of summer</p></header>
<main><div class="box"></div>
<p>North of the sixtieth parallel the coast breaks into a thousand islands. This atlas follows the
old sea road from harbour to harbour, with maps, tide tables and the stories the pilots tell.</p>
<p>Begin with <a href="#">the southern harbours</a>, read about <a href="#">the winter light</a>,
or open a chapter from the menu above.</p></main></body></html>)";

struct Window {
    quillora::GObjectPtr<GtkBuilder> builder;
    GtkWindow* window = nullptr;
    WebKitWebView* web = nullptr;
    GtkMenuItem* chapters = nullptr;
    GtkMenu* chapters_menu = nullptr;
    GtkMenuItem* highlighted = nullptr;

    GtkWidget* Get(const char* name) const
    {
        GObject* object = gtk_builder_get_object(builder.get(), name);
        if (object == nullptr) throw std::runtime_error(std::string("no widget ") + name);
        return GTK_WIDGET(object);
    }
};

// A tool-bar button of the window description, by the command it runs.
GtkWidget* Button(const Window& w, quillora::ToolButton button)
{
    return w.Get(std::string(quillora::ToolCommandOf(button).component).c_str());
}

GtkMenuItem* AddItem(GtkWidget* shell, const char* label, bool sensitive = true)
{
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    gtk_widget_set_sensitive(item, sensitive);
    gtk_menu_shell_append(GTK_MENU_SHELL(shell), item);
    return GTK_MENU_ITEM(item);
}

// The chapters menu is made anew for each picture, so that it takes the size the skin gives it.
void MakeChaptersMenu(Window& w)
{
    GtkWidget* menu = gtk_menu_new();
    w.chapters_menu = GTK_MENU(menu);
    AddItem(menu, "1. The southern harbours");
    w.highlighted = AddItem(menu, "2. The winter light");
    AddItem(menu, "3. Tides and currents");
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
    AddItem(menu, "4. The outer islands (coming soon)", false);
    gtk_menu_item_set_submenu(w.chapters, menu);
    gtk_widget_show_all(menu);
}

void FillMenu(Window& w)
{
    GtkWidget* bar = w.Get("Menu_Normal");
    AddItem(bar, "_Arquivo");
    w.chapters = AddItem(bar, "_Capítulos");
    AddItem(bar, "_Mapas");
    AddItem(bar, "A_juda", false);
    gtk_widget_set_no_show_all(bar, FALSE);
    gtk_widget_show_all(bar);
}

Window BuildWindow()
{
    Window w;
    w.builder = quillora::GObjectPtr<GtkBuilder>::Adopt(gtk_builder_new_from_resource("/org/quillora/window.ui"));
    w.window = GTK_WINDOW(w.Get("form_apresentacao"));
    gtk_window_set_title(w.window, "Atlas of the North");

    // The skin caption: a title bar drawn in the skin's colours.
    GtkWidget* caption = gtk_header_bar_new();
    gtk_header_bar_set_title(GTK_HEADER_BAR(caption), "Atlas of the North");
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(caption), TRUE);
    gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(caption), ":minimize,maximize,close");
    gtk_widget_show(caption);
    gtk_window_set_titlebar(w.window, caption);

    FillMenu(w);

    w.web = WEBKIT_WEB_VIEW(w.Get("Web"));
    gtk_label_set_text(GTK_LABEL(w.Get("barra_estado_panel1")), "Atlas of the North");
    GtkWidget* progress = w.Get("progresso");
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(progress), 0.5);
    gtk_widget_show(progress);

    // A first page: nowhere to go back or forward to.
    gtk_widget_set_sensitive(Button(w, quillora::ToolButton::Back), FALSE);
    gtk_widget_set_sensitive(Button(w, quillora::ToolButton::Forward), FALSE);

    gtk_window_move(w.window, 24, 24);
    gtk_widget_show(GTK_WIDGET(w.window));
    return w;
}

// The button inside a tool button, which carries the hover and pressed states.
GtkWidget* InnerButton(Window& w, quillora::ToolButton button)
{
    return gtk_bin_get_child(GTK_BIN(Button(w, button)));
}

void LoadPage(Window& w)
{
    bool finished = false;
    const gulong handler =
        g_signal_connect(w.web, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer flag) {
                             if (event == WEBKIT_LOAD_FINISHED) *static_cast<bool*>(flag) = true;
                         }),
                         &finished);
    webkit_web_view_load_html(w.web, SamplePage, "file:///preview/");
    if (!RunUntil([&] { return finished; }, 20s)) {
        std::cerr << "skin-preview: the page did not load\n";
    }
    g_signal_handler_disconnect(w.web, handler);
    RunFor(600ms);  // the engine paints a moment after it reports the load
}

// Opens the chapters menu as a pop-up over the page, clear of the tool bar, with one item
// highlighted; the menu bar's item shows as hovered.
void OpenMenu(Window& w)
{
    MakeChaptersMenu(w);
    const GdkRectangle anchor{310, 220, 1, 1};
    gtk_menu_popup_at_rect(w.chapters_menu, gtk_widget_get_window(GTK_WIDGET(w.window)), &anchor,
                           GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
    RunFor(200ms);
    gtk_menu_shell_select_item(GTK_MENU_SHELL(w.chapters_menu), GTK_WIDGET(w.highlighted));
    gtk_widget_set_state_flags(GTK_WIDGET(w.chapters), GTK_STATE_FLAG_PRELIGHT, FALSE);
    RunFor(200ms);
}

void CloseMenu(Window& w)
{
    gtk_menu_popdown(w.chapters_menu);
    RunFor(100ms);
}

// Saves the area of the screen the window covers, its client-side frame included.
void SaveSnapshot(GtkWidget* window, const std::filesystem::path& file, int extra_height = 0)
{
    GdkWindow* gdk_window = gtk_widget_get_window(window);
    int x = 0;
    int y = 0;
    gdk_window_get_origin(gdk_window, &x, &y);
    const int width = gdk_window_get_width(gdk_window);
    const int height = gdk_window_get_height(gdk_window) + extra_height;
    const auto picture = quillora::GObjectPtr<GdkPixbuf>::Adopt(
        gdk_pixbuf_get_from_window(gdk_screen_get_root_window(gdk_screen_get_default()), x, y, width, height));
    if (!picture || !gdk_pixbuf_save(picture.get(), file.c_str(), "png", nullptr, nullptr)) {
        std::cerr << "skin-preview: cannot save " << file << "\n";
    }
}

std::string PictureName(int index, const char* suffix)
{
    char name[32];
    std::snprintf(name, sizeof name, "skin%02d%s.png", index, suffix);
    return name;
}

void ShowDialogs(GtkWindow* parent, const std::filesystem::path& out, int index)
{
    GtkWidget* message = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING, GTK_BUTTONS_OK,
                                                "The page \"inverno.html\" was not found in this book.");
    gtk_window_set_title(GTK_WINDOW(message), "Quillora");
    gtk_window_move(GTK_WINDOW(message), 700, 24);
    gtk_widget_show(message);
    GtkWidget* about = gtk_about_dialog_new();
    GtkAboutDialog* box = GTK_ABOUT_DIALOG(about);
    gtk_about_dialog_set_program_name(box, "Atlas of the North");
    gtk_about_dialog_set_version(box, "1.0");
    gtk_about_dialog_set_comments(box, "An e-book made with Quillora.");
    gtk_about_dialog_set_website(box, "https://example.org/atlas");
    const char* authors[] = {"A. Cartographer", nullptr};
    gtk_about_dialog_set_authors(box, authors);
    gtk_window_move(GTK_WINDOW(about), 700, 260);
    gtk_widget_show(about);
    RunFor(500ms);
    SaveSnapshot(message, out / PictureName(index, "-message"));
    SaveSnapshot(about, out / PictureName(index, "-about"));
    gtk_widget_destroy(message);
    gtk_widget_destroy(about);
}

int Run(int argc, char** argv)
{
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GDK_BACKEND", "x11", 0);
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);

    std::vector<std::string> args(argv + 1, argv + argc);
    bool tooltip = false;
    bool dialogs = false;
    while (!args.empty() && args.front().starts_with("--")) {
        if (args.front() == "--tooltip")
            tooltip = true;
        else if (args.front() == "--dialogs")
            dialogs = true;
        else {
            std::cerr << "skin-preview: unknown option " << args.front() << "\n";
            return 2;
        }
        args.erase(args.begin());
    }
    if (args.empty()) {
        std::cerr << "usage: skin-preview [--tooltip|--dialogs] OUTPUT_FOLDER [INDEX...]\n";
        return 2;
    }
    const std::filesystem::path out = args.front();
    std::filesystem::create_directories(out);
    std::vector<int> indexes;
    for (size_t i = 1; i < args.size(); ++i) indexes.push_back(std::stoi(args[i]));
    if (indexes.empty()) {
        for (int i = 0; i < quillora::StoredSkinCount; ++i) indexes.push_back(i);
    }

    gtk_init(&argc, &argv);
    quillora::PrepareToolkit();
    Window w = BuildWindow();
    LoadPage(w);

    gtk_widget_set_state_flags(InnerButton(w, quillora::ToolButton::Refresh), GTK_STATE_FLAG_PRELIGHT, FALSE);
    gtk_widget_set_state_flags(InnerButton(w, quillora::ToolButton::Stop), GTK_STATE_FLAG_ACTIVE, FALSE);
    if (tooltip) {
        GtkWidget* home = InnerButton(w, quillora::ToolButton::Home);
        int x = 0;
        int y = 0;
        gdk_window_get_origin(gtk_widget_get_window(home), &x, &y);
        GtkAllocation box;
        gtk_widget_get_allocation(home, &box);
        GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
        gdk_device_warp(pointer, gdk_screen_get_default(), x + box.x + box.width / 2, y + box.y + box.height / 2);
    }
    const bool menu = !tooltip && !dialogs;

    quillora::SkinEngine engine;
    engine.SwitchOn();
    for (const int index : indexes) {
        engine.LoadSkin(index);
        RunFor(tooltip ? 1500ms : 400ms);
        if (menu) OpenMenu(w);
        if (dialogs) {
            ShowDialogs(w.window, out, index);
            continue;
        }
        SaveSnapshot(GTK_WIDGET(w.window), out / PictureName(index, tooltip ? "-tooltip" : ""), tooltip ? 40 : 0);
        if (menu) CloseMenu(w);
        std::cout << quillora::StoredSkins()[static_cast<size_t>(index)].name << " -> "
                  << (out / PictureName(index, tooltip ? "-tooltip" : "")).string() << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        // A bad index, a folder that cannot be made: said, not an abort.
        std::cerr << "skin-preview: " << error.what() << "\n";
        return 1;
    }
}
