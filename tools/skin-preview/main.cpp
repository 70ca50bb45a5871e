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
#include <gdkmm/pixbuf.h>
#include <gtkmm.h>
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

#include "window/skin_engine.hpp"
#include "window/skin_store.hpp"
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
    Glib::RefPtr<Gtk::Builder> builder;
    Gtk::Window* window = nullptr;
    WebKitWebView* web = nullptr;
    Gtk::MenuItem* chapters = nullptr;
    Gtk::Menu* chapters_menu = nullptr;
    Gtk::MenuItem* highlighted = nullptr;

    template <typename T>
    T* Get(const char* name)
    {
        T* widget = nullptr;
        builder->get_widget(name, widget);
        if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
        return widget;
    }
};

Gtk::MenuItem* AddItem(Gtk::MenuShell& shell, const char* label, bool sensitive = true)
{
    auto* item = Gtk::manage(new Gtk::MenuItem(label, true));
    item->set_sensitive(sensitive);
    shell.append(*item);
    return item;
}

// The chapters menu is made anew for each picture, so that it takes the size the skin gives it.
void MakeChaptersMenu(Window& w)
{
    w.chapters_menu = Gtk::manage(new Gtk::Menu());
    AddItem(*w.chapters_menu, "1. The southern harbours");
    w.highlighted = AddItem(*w.chapters_menu, "2. The winter light");
    AddItem(*w.chapters_menu, "3. Tides and currents");
    w.chapters_menu->append(*Gtk::manage(new Gtk::SeparatorMenuItem()));
    AddItem(*w.chapters_menu, "4. The outer islands (coming soon)", false);
    w.chapters->set_submenu(*w.chapters_menu);
    w.chapters_menu->show_all();
}

void FillMenu(Window& w)
{
    auto* bar = w.Get<Gtk::MenuBar>("Menu_Normal");
    AddItem(*bar, "_Arquivo");
    w.chapters = AddItem(*bar, "_Capítulos");
    AddItem(*bar, "_Mapas");
    AddItem(*bar, "A_juda", false);
    bar->set_no_show_all(false);
    bar->show_all();
}

Window BuildWindow()
{
    Window w;
    w.builder = Gtk::Builder::create_from_resource("/org/quillora/window.ui");
    w.window = w.Get<Gtk::Window>("form_apresentacao");
    w.window->set_title("Atlas of the North");

    // The skin caption: a title bar drawn in the skin's colours.
    auto* caption = Gtk::manage(new Gtk::HeaderBar());
    caption->set_title("Atlas of the North");
    caption->set_show_close_button(true);
    caption->set_decoration_layout(":minimize,maximize,close");
    caption->show();
    w.window->set_titlebar(*caption);

    FillMenu(w);

    w.web = WEBKIT_WEB_VIEW(w.Get<Gtk::Widget>("Web")->gobj());
    w.Get<Gtk::Label>("barra_estado_panel1")->set_text("Atlas of the North");
    auto* progress = w.Get<Gtk::ProgressBar>("progresso");
    progress->set_fraction(0.5);
    progress->show();

    w.Get<Gtk::Widget>("b_volta")->set_sensitive(false);
    w.Get<Gtk::Widget>("b_proximo")->set_sensitive(false);

    w.window->move(24, 24);
    w.window->show();
    return w;
}

// The button inside a tool button, which carries the hover and pressed states.
Gtk::Widget* InnerButton(Window& w, const char* name)
{
    auto* item = w.Get<Gtk::ToolButton>(name);
    return item->get_child();
}

void LoadPage(Window& w)
{
    bool finished = false;
    const gulong handler = g_signal_connect(
        w.web, "load-changed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer flag) {
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
    gtk_menu_popup_at_rect(w.chapters_menu->gobj(), w.window->get_window()->gobj(), &anchor,
                           GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
    RunFor(200ms);
    gtk_menu_shell_select_item(GTK_MENU_SHELL(w.chapters_menu->gobj()),
                               GTK_WIDGET(w.highlighted->gobj()));
    w.chapters->set_state_flags(Gtk::STATE_FLAG_PRELIGHT, false);
    RunFor(200ms);
}

void CloseMenu(Window& w)
{
    w.chapters_menu->popdown();
    RunFor(100ms);
}

// The area of the screen the window covers, its client-side frame included.
Glib::RefPtr<Gdk::Pixbuf> Snapshot(Gtk::Window& window, int extra_height = 0)
{
    const auto gdk_window = window.get_window();
    int x = 0;
    int y = 0;
    gdk_window->get_origin(x, y);
    const int width = gdk_window->get_width();
    const int height = gdk_window->get_height() + extra_height;
    const auto root = Gdk::Screen::get_default()->get_root_window();
    return Gdk::Pixbuf::create(root, x, y, width, height);
}

std::string PictureName(int index, const char* suffix)
{
    char name[32];
    std::snprintf(name, sizeof name, "skin%02d%s.png", index, suffix);
    return name;
}

void ShowDialogs(Gtk::Window& parent, const std::filesystem::path& out, int index)
{
    Gtk::MessageDialog message(parent, "The page \"inverno.html\" was not found in this book.", false,
                               Gtk::MESSAGE_WARNING, Gtk::BUTTONS_OK, true);
    message.set_title("Quillora");
    message.move(700, 24);
    message.show();
    Gtk::AboutDialog about;
    about.set_program_name("Atlas of the North");
    about.set_version("1.0");
    about.set_comments("An e-book made with Quillora.");
    about.set_website("https://example.org/atlas");
    about.set_authors({"A. Cartographer"});
    about.move(700, 260);
    about.show();
    RunFor(500ms);
    Snapshot(message)->save((out / PictureName(index, "-message")).string(), "png");
    Snapshot(about)->save((out / PictureName(index, "-about")).string(), "png");
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GDK_BACKEND", "x11", 0);
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);

    std::vector<std::string> args(argv + 1, argv + argc);
    bool tooltip = false;
    bool dialogs = false;
    while (!args.empty() && args.front().starts_with("--")) {
        if (args.front() == "--tooltip") tooltip = true;
        else if (args.front() == "--dialogs") dialogs = true;
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

    Gtk::Main toolkit(argc, argv);
    quillora::PrepareToolkit();
    Window w = BuildWindow();
    LoadPage(w);

    InnerButton(w, "b_refresh")->set_state_flags(Gtk::STATE_FLAG_PRELIGHT, false);
    InnerButton(w, "b_stop")->set_state_flags(Gtk::STATE_FLAG_ACTIVE, false);
    if (tooltip) {
        Gtk::Widget* home = InnerButton(w, "b_home");
        int x = 0;
        int y = 0;
        home->get_window()->get_origin(x, y);
        const Gtk::Allocation box = home->get_allocation();
        const auto pointer = Gdk::Display::get_default()->get_default_seat()->get_pointer();
        pointer->warp(Gdk::Screen::get_default(), x + box.get_x() + box.get_width() / 2,
                      y + box.get_y() + box.get_height() / 2);
    }
    const bool menu = !tooltip && !dialogs;

    quillora::SkinEngine engine;
    engine.SwitchOn();
    for (const int index : indexes) {
        engine.LoadSkin(index);
        RunFor(tooltip ? 1500ms : 400ms);
        if (menu) OpenMenu(w);
        if (dialogs) {
            ShowDialogs(*w.window, out, index);
            continue;
        }
        const auto picture = Snapshot(*w.window, tooltip ? 40 : 0);
        picture->save((out / PictureName(index, tooltip ? "-tooltip" : "")).string(), "png");
        if (menu) CloseMenu(w);
        std::cout << quillora::StoredSkins()[static_cast<size_t>(index)].name << " -> "
                  << (out / PictureName(index, tooltip ? "-tooltip" : "")).string() << "\n";
    }
    return 0;
}
