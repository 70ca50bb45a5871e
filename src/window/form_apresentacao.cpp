#include "window/form_apresentacao.hpp"

#include "common/error.hpp"
#include "menu/menu_file.hpp"
#include "webview/engine_settings.hpp"
#include "webview/input_filter.hpp"
#include "webview/web_browser.hpp"
#include "webview/web_engine_context.hpp"
#include "webview/web_process_crash_bar.hpp"
#include "webview/web_process_watchdog.hpp"
#include "window/accessible_names.hpp"
#include "window/book_search.hpp"
#include "window/browser_status.hpp"
#include "window/builder_parts.hpp"
#include "window/colour_scheme_follower.hpp"
#include "window/custom_menu.hpp"
#include "window/find_bar.hpp"
#include "window/page_zoom.hpp"
#include "window/reader_shortcuts.hpp"
#include "window/tool_buttons.hpp"
#include "window/toolkit_setup.hpp"

namespace quillora {

namespace {

GtkWidget* Require(GtkBuilder* builder, const char* name)
{
    return GTK_WIDGET(RequirePart(builder, name, "The window description"));
}

// The description's main window; a description without one is the program's own fault.
GtkWidget* MainWindowOf(GtkBuilder* builder)
{
    return Require(builder, "form_apresentacao");
}

}  // namespace

std::unique_ptr<Tform_apresentacao> Tform_apresentacao::Create()
{
    PrepareToolkit();
    auto builder = GObjectPtr<GtkBuilder>::Adopt(gtk_builder_new());
    // The description's web view is made on a context of this window's own.
    const GObjectPtr<WebKitWebContext> context = MakeBookWebContext();
    gtk_builder_expose_object(builder.get(), "web_context", G_OBJECT(context.get()));
    GError* raw_error = nullptr;
    if (gtk_builder_add_from_resource(builder.get(), "/org/quillora/window.ui", &raw_error) == 0) {
        const GErrorPtr error(raw_error);
        throw Error(std::string("The window description cannot be read: ") + error->message);
    }
    return std::make_unique<Tform_apresentacao>(std::move(builder));
}

Tform_apresentacao::Tform_apresentacao(GObjectPtr<GtkBuilder> builder)
    : builder_(std::move(builder))
    , window_(MainWindowOf(builder_.get()))
{
    toolbar_ = Require(builder_.get(), "toolbar");
    barra_estado_ = Require(builder_.get(), "barra_estado");
    progresso_ = Require(builder_.get(), "progresso");
    title_panel_ = Require(builder_.get(), "barra_estado_panel1");
    Menu_Normal_ = Require(builder_.get(), "Menu_Normal");

    auto* view = WEBKIT_WEB_VIEW(Require(builder_.get(), "Web"));
    web_ = std::make_unique<WebBrowser>(view);
    web_->ApplySafeSettings();
    ChooseReaderViewSettings(webkit_web_view_get_settings(view));
    web_->Connect();
    crash_bar_ = std::make_unique<WebProcessCrashBar>(*web_);
    watchdog_ = std::make_unique<WebProcessWatchdog>(*web_, WebProcessMemoryLimitBytes());
    status_ = std::make_unique<BrowserStatus>(GTK_PROGRESS_BAR(progresso_), GTK_LABEL(title_panel_),
                                              ButtonOf(ToolButton::Back), ButtonOf(ToolButton::Forward));
    DescribeStatusBar(barra_estado_, title_panel_, progresso_);
    find_bar_ = std::make_unique<FindBar>(builder_.get(), view);
    zoom_ = std::make_unique<PageZoom>(view, *GTK_LABEL(Require(builder_.get(), "barra_estado_zoom")));
    // Searching the whole book, in the folder of the home page once it is known.
    book_search_ = std::make_unique<BookSearch>(Window(), *web_, *find_bar_,
                                                [this] { return BookFolderOf(kept_.home_page, executable_folder_); });
    shortcuts_ = std::make_unique<ReaderShortcuts>(*this, *web_, *find_bar_, *zoom_, *book_search_);
    // The page has the keyboard first, so that it scrolls at once; Tab reaches the tool bar.
    gtk_widget_grab_focus(web_->Widget());
    // Where the window stands until the settings place it.
    gtk_window_move(Window(), 293, 205);
    ConnectHandlers();
    GiveButtonsHandCursor();
}

Tform_apresentacao::~Tform_apresentacao()
{
    // No event may reach a filter whose flags are gone.
    eventos_aplicacao_.reset();
}

GtkWidget* Tform_apresentacao::Component(const std::string& name) const
{
    GObject* object = gtk_builder_get_object(builder_.get(), name.c_str());
    return object != nullptr && GTK_IS_WIDGET(object) ? GTK_WIDGET(object) : nullptr;
}

GtkWidget* Tform_apresentacao::RequireComponent(const std::string& name) const
{
    return Require(builder_.get(), name.c_str());
}

GtkWidget* Tform_apresentacao::ButtonOf(ToolButton button) const
{
    return RequireComponent(std::string(ToolCommandOf(button).component));
}

void Tform_apresentacao::ConnectHandlers()
{
    events_.push_back(
        web_->signal_progress_change.Connect([this](int progress) { status_->WebProgressChange(progress); }));
    events_.push_back(
        web_->signal_title_change.Connect([this](const std::string& title) { status_->WebTitleChange(title); }));
    events_.push_back(web_->signal_command_state_change.Connect(
        [this](int command, bool enable) { status_->WebCommandStateChange(command, enable); }));
    events_.push_back(web_->signal_before_navigate2.Connect(
        [this](const std::string& url, bool& cancel) { WebBeforeNavigate2(url, cancel); }));
    events_.push_back(
        web_->signal_document_complete.Connect([this](const std::string& url) { WebDocumentComplete(url); }));
    events_.push_back(
        web_->signal_load_failed.Connect([this](const std::string& address, const GError& error, bool& replaced) {
            WebLoadFailed(address, error, replaced);
        }));
    custom_menu_ = std::make_unique<CustomMenu>(GTK_MENU_BAR(Menu_Normal_));
    events_.push_back(
        custom_menu_->signal_item_chosen().Connect([this](const std::string& name) { MenuItemClick(name); }));
    ConnectToolButtons();
    // Reads the kept flags at every event; all are off until the settings say otherwise.
    eventos_aplicacao_ = std::make_unique<InputFilter>(web_->Widget(), kept_.blocking);
}

void Tform_apresentacao::GiveButtonsHandCursor()
{
    for (const ToolCommand& command : ToolCommands) {
        GtkWidget* item = ButtonOf(command.button);
        // A tool button's inner button receives the pointer through its own input window,
        // which only exists once realised: set the cursor there when the pointer first enters.
        if (GtkWidget* button = gtk_bin_get_child(GTK_BIN(item))) {
            gtk_widget_add_events(button, GDK_ENTER_NOTIFY_MASK);
            widget_events_.push_back(Connect<gboolean(GtkWidget*, GdkEventCrossing*)>(
                button, "enter-notify-event", [](GtkWidget*, GdkEventCrossing* event) -> gboolean {
                    if (event->window != nullptr) {
                        const auto cursor = GObjectPtr<GdkCursor>::Adopt(
                            gdk_cursor_new_for_display(gdk_window_get_display(event->window), GDK_HAND2));
                        gdk_window_set_cursor(event->window, cursor.get());
                    }
                    return FALSE;
                }));
        }
    }
}

void Tform_apresentacao::FormClose()
{
    menu_file_.reset();  // the menu's temporary definition file goes with the window
}

void Tform_apresentacao::ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption)
{
    custom_menu_->ChangeItem(address, change, caption);
}

std::string Tform_apresentacao::MenuFilePath() const
{
    return menu_file_ ? menu_file_->Path() : std::string();
}

void Tform_apresentacao::SetCaption(const std::string& caption)
{
    gtk_window_set_title(Window(), caption.c_str());
    gradiente_.ShowCaption(caption);
}

void Tform_apresentacao::RequestQuit()
{
    quit_requested_ = true;
}

}  // namespace quillora
