#include "window/form_apresentacao.hpp"

#include <gtkmm/box.h>
#include <gtkmm/builder.h>
#include <gtkmm/label.h>
#include <gtkmm/menubar.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/toolbar.h>
#include <gtkmm/toolbutton.h>

#include "common/error.hpp"
#include "menu/custom_menu.hpp"
#include "menu/menu_file.hpp"
#include "webview/engine_settings.hpp"
#include "webview/input_filter.hpp"
#include "webview/web_browser.hpp"
#include "webview/web_engine_context.hpp"
#include "webview/web_process_crash_bar.hpp"
#include "webview/web_process_watchdog.hpp"
#include "window/book_search.hpp"
#include "window/accessible_names.hpp"
#include "window/browser_status.hpp"
#include "window/find_bar.hpp"
#include "window/page_zoom.hpp"
#include "window/reader_shortcuts.hpp"
#include "window/toolkit_setup.hpp"

namespace quillora {

namespace {

constexpr const char* ToolButtonNames[] = {"b_home",        "b_volta",      "b_proximo",
                                           "b_refresh",     "b_stop",       "bot_selectall",
                                           "botao_copiar",  "bt_imprimir",  "bt_sair",
                                           "b_about"};

template <typename T>
T* Require(const Glib::RefPtr<Gtk::Builder>& builder, const char* name)
{
    T* widget = nullptr;
    builder->get_widget(name, widget);
    if (widget == nullptr) {
        throw Error(std::string("The window description has no component ") + name);
    }
    return widget;
}

}  // namespace

std::unique_ptr<Tform_apresentacao> Tform_apresentacao::Create()
{
    PrepareToolkit();
    const auto builder = Gtk::Builder::create();
    // The description's web view is made on a context of this window's own.
    const GObjectPtr<WebKitWebContext> context = MakeBookWebContext();
    gtk_builder_expose_object(builder->gobj(), "web_context", G_OBJECT(context.get()));
    builder->add_from_resource("/org/quillora/window.ui");
    Tform_apresentacao* window = nullptr;
    builder->get_widget_derived("form_apresentacao", window);
    return std::unique_ptr<Tform_apresentacao>(window);
}

Tform_apresentacao::Tform_apresentacao(BaseObjectType* object,
                                       const Glib::RefPtr<Gtk::Builder>& builder)
    : Gtk::Window(object), builder_(builder)
{
    toolbar_ = Require<Gtk::Toolbar>(builder_, "toolbar");
    barra_estado_ = Require<Gtk::Box>(builder_, "barra_estado");
    progresso_ = Require<Gtk::ProgressBar>(builder_, "progresso");
    title_panel_ = Require<Gtk::Label>(builder_, "barra_estado_panel1");
    Menu_Normal_ = Require<Gtk::MenuBar>(builder_, "Menu_Normal");

    auto* view = WEBKIT_WEB_VIEW(Require<Gtk::Widget>(builder_, "Web")->gobj());
    web_ = std::make_unique<WebBrowser>(view);
    web_->ApplySafeSettings();
    ChooseReaderViewSettings(webkit_web_view_get_settings(view));
    web_->Connect();
    crash_bar_ = std::make_unique<WebProcessCrashBar>(*web_);
    watchdog_ = std::make_unique<WebProcessWatchdog>(*web_, WebProcessMemoryLimitBytes());
    status_ = std::make_unique<BrowserStatus>(progresso_->gobj(), title_panel_->gobj(),
                                              Require<Gtk::Widget>(builder_, "b_volta")->gobj(),
                                              Require<Gtk::Widget>(builder_, "b_proximo")->gobj());
    DescribeStatusBar(GTK_WIDGET(barra_estado_->gobj()), GTK_WIDGET(title_panel_->gobj()), GTK_WIDGET(progresso_->gobj()));
    find_bar_ = std::make_unique<FindBar>(builder_->gobj(), view);
    zoom_ = std::make_unique<PageZoom>(view, *Require<Gtk::Label>(builder_, "barra_estado_zoom")->gobj());
    shortcuts_ = std::make_unique<ReaderShortcuts>(*this, *web_, *find_bar_, *zoom_);
    // The page has the keyboard first, so that it scrolls at once; Tab reaches the tool bar.
    gtk_widget_grab_focus(web_->Widget());
    // The window starts where the description places it.
    move(293, 205);
    ConnectHandlers();
    GiveButtonsHandCursor();
}

Tform_apresentacao::~Tform_apresentacao()
{
    // No event may reach a filter whose flags are gone.
    EventosAplicacao.reset();
}

Gtk::Widget* Tform_apresentacao::Component(const std::string& name) const
{
    Gtk::Widget* widget = nullptr;
    builder_->get_widget(name, widget);
    return widget;
}

Gtk::Widget& Tform_apresentacao::RequireComponent(const std::string& name) const
{
    return *Require<Gtk::Widget>(builder_, name.c_str());
}

void Tform_apresentacao::ConnectHandlers()
{
    events_.push_back(web_->signal_progress_change.Connect(
        [this](int progress) { status_->WebProgressChange(progress); }));
    events_.push_back(web_->signal_title_change.Connect(
        [this](const std::string& title) { status_->WebTitleChange(title); }));
    events_.push_back(web_->signal_command_state_change.Connect(
        [this](int command, bool enable) { status_->WebCommandStateChange(command, enable); }));
    events_.push_back(web_->signal_before_navigate2.Connect(
        [this](const std::string& url, bool& cancel) { WebBeforeNavigate2(url, cancel); }));
    events_.push_back(web_->signal_document_complete.Connect(
        [this](const std::string& url) { WebDocumentComplete(url); }));
    events_.push_back(web_->signal_load_failed.Connect(
        [this](const std::string& address, const GError& error, bool& replaced) {
            WebLoadFailed(address, error, replaced);
        }));
    custom_menu_ = std::make_unique<CustomMenu>(Menu_Normal_->gobj());
    events_.push_back(custom_menu_->signal_item_chosen().Connect(
        [this](const std::string& name) { MenuItemClick(name); }));
    ConnectToolButtons();
    // Searching the whole book, in the folder of the home page once it is known.
    book_search_ = std::make_unique<BookSearch>(
        gobj(), *web_, *find_bar_, [this] { return BookFolderOf(kept_.home_page, executable_folder_); });
    // Reads the kept flags at every event; all are off until the settings say otherwise.
    EventosAplicacao = std::make_unique<InputFilter>(web_->Widget(), kept_.blocking);
}

void Tform_apresentacao::GiveButtonsHandCursor()
{
    for (const char* name : ToolButtonNames) {
        auto* item = Require<Gtk::ToolButton>(builder_, name);
        // A tool button's inner button receives the pointer through its own input window,
        // which only exists once realised: set the cursor there when the pointer first enters.
        if (auto* button = item->get_child()) {
            button->add_events(Gdk::ENTER_NOTIFY_MASK);
            button->signal_enter_notify_event().connect([](GdkEventCrossing* event) {
                if (event->window != nullptr) {
                    auto cursor = Gdk::Cursor::create(Gdk::Display::get_default(), Gdk::HAND2);
                    gdk_window_set_cursor(event->window, cursor->gobj());
                }
                return false;
            });
        }
    }
}

void Tform_apresentacao::FormClose()
{
    menu_file_.reset();  // the menu's temporary definition file goes with the window
}

std::string Tform_apresentacao::MenuFilePath() const
{
    return menu_file_ ? menu_file_->Path() : std::string();
}

void Tform_apresentacao::RequestQuit()
{
    quit_requested_ = true;
}

}  // namespace quillora
