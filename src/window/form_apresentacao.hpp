#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "actions/action_host.hpp"
#include "appearance/kept_settings.hpp"
#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"
#include "window/about_box.hpp"
#include "window/gradient_caption.hpp"
#include "window/skin_engine.hpp"
#include "window/skin_title_bar.hpp"
#include "window/widget_owners.hpp"
#include "window/window_animation.hpp"
#include "window/window_frame.hpp"

namespace quillora {

class BookSearch;
class BrowserStatus;
class ColourSchemeFollower;
class CustomMenu;
class FindBar;
class InputFilter;
class MenuFile;
class PageZoom;
class ReaderShortcuts;
class SettingsList;
class WebBrowser;
class WebProcessCrashBar;
class WebProcessWatchdog;
enum class ConnectionOutcome;
struct FailedLoad;

// The one main window of an e-book. Its widgets come from the window description compiled
// into the program; this class finds them by their component names, owns the non-visual
// components and the values kept from the settings, and wires the handlers.
class Tform_apresentacao {
public:
    // Builds the window from the description. The window is not shown and no setting applied.
    static std::unique_ptr<Tform_apresentacao> Create();

    explicit Tform_apresentacao(GObjectPtr<GtkBuilder> builder);
    ~Tform_apresentacao();
    Tform_apresentacao(const Tform_apresentacao&) = delete;
    Tform_apresentacao& operator=(const Tform_apresentacao&) = delete;

    // The window itself.
    [[nodiscard]] GtkWindow* Window() const { return window_.window(); }
    [[nodiscard]] GtkWidget* Widget() const { return window_.get(); }

    // Start-up: reads the payload of `program_path`, applies the settings, checks the internet
    // requirement and opens the home page. Errors leave it at once (the caller reports them).
    // The main loop runs during the internet check; closing the window then ends start-up.
    void FormCreate(const std::string& program_path);
    // Closing: removes what the window left behind.
    void FormClose();

    // Set when start-up told the application to end (home page missing, offline, an exit in
    // the start-up action).
    bool QuitRequested() const { return quit_requested_; }
    void RequestQuit();
    // The caption of error reports: the `title` setting once applied.
    const std::string& ApplicationTitle() const { return application_title_; }
    // A new caption for the window: its title and the text of its gradient caption. The caption
    // of error reports stays.
    void SetCaption(const std::string& caption);

    // Components by their names, for the handlers and for tests; null for a name the
    // description does not have.
    GtkWidget* Component(const std::string& name) const;
    // The same, for components the description must have: a missing one is an error.
    GtkWidget* RequireComponent(const std::string& name) const;
    // The tool-bar button of a command of the tool bar.
    GtkWidget* ButtonOf(ToolButton button) const;

    // The tool-bar buttons' click handlers. Clicking a button runs its member; the action language
    // calls the same members, whether or not the button is shown or enabled.
    void b_homeClick();
    void b_voltaClick();
    void b_proximoClick();
    void b_refreshClick();
    void b_stopClick();
    void bot_selectallClick();
    void botao_copiarClick();
    void bt_imprimirClick();
    void bt_sairClick();
    void b_aboutClick();

    // Runs an action string on this window; errors and the silent abort leave it.
    void RunAction(const std::string& action);
    // A menu command of the action language on the custom menu (see CustomMenu::ChangeItem).
    void ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption);
    // The menu definition file's path, empty while there is none.
    std::string MenuFilePath() const;

    // The program's own "Page not found" page for a local path that names no page to show.
    void ShowPageNotFound(const std::string& path);
    FindBar& Find() { return *find_bar_; }
    PageZoom& Zoom() { return *zoom_; }

    // The address the refresh button loads afresh while page styling is on.
    const std::string& LastPageAddress() const { return last_page_address_; }

    WebBrowser& Web() { return *web_; }
    WebProcessWatchdog& Watchdog() { return *watchdog_; }
    BookSearch& Search() { return *book_search_; }
    const KeptSettings& Kept() const { return kept_; }
    const std::string& ExecutableFolder() const { return executable_folder_; }
    const WindowFrame& Frame() const { return frame_; }

    // What the settings made of the caption, the skin and the opening effect, for tests and
    // measurements: read only, the window alone changes them.
    const GradientCaption& Caption() const { return gradiente_; }
    const SkinEngine& Skin() const { return skin_data_; }
    const SkinTitleBar& SkinCaption() const { return skin_caption_; }
    const WindowAnimation& Animation() const { return animacao_form_; }

private:
    // Declared first: the components below refer to them, and the window goes last.
    GObjectPtr<GtkBuilder> builder_;
    OwnedToplevel window_;
    WindowFrame frame_{window_.window()};

    AboutBox sobre_{window_.window()};
    GradientCaption gradiente_{window_.window(), frame_};
    WindowAnimation animacao_form_;
    std::unique_ptr<InputFilter> eventos_aplicacao_;
    SkinEngine skin_data_;
    SkinTitleBar skin_caption_{window_.window(), frame_, gradiente_, skin_data_};

    // Handlers of the browser's and the menu's events.
    // Before every navigation: an action link is cancelled and its action run (for the book's
    // own pages only); any other address is recorded as the last page address.
    void WebBeforeNavigate2(const std::string& url, bool& cancel);
    // A custom menu item was chosen: its action is read from the definition file now and run.
    void MenuItemClick(const std::string& item_name);
    // A document has loaded: its address is recorded, then the page is styled.
    void WebDocumentComplete(const std::string& url);
    // A page could not be loaded: a page of the program's own says why and offers a way on.
    void WebLoadFailed(const std::string& address, const GError& error, bool& replaced);

    void ConnectHandlers();
    void ConnectToolButtons();
    void GiveButtonsHandCursor();
    void ApplySettings(SettingsList& settings);
    void ApplyCaptionFont(const SettingsList& settings);
    void CenterWindow(const WindowBox& box);
    void ApplyButtonVisibility(const SettingsList& settings);
    void ApplyHints(const SettingsList& settings);
    void ApplySkin(const SettingsList& settings);
    void AttachCustomMenu(const SettingsList& settings);
    void RunStartupAction();
    void SetComponentVisible(const char* name, bool visible);
    // The internet requirement, checked while the main loop keeps running.
    ConnectionOutcome CheckInternet();
    void OpenHomePage();
    // The failure page for `failure`, with the ways on that the window has now, at `address`.
    void ShowFailurePage(FailedLoad failure, const std::string& address);

    GtkWidget* toolbar_ = nullptr;
    GtkWidget* barra_estado_ = nullptr;
    GtkWidget* progresso_ = nullptr;
    GtkWidget* title_panel_ = nullptr;
    GtkWidget* Menu_Normal_ = nullptr;

    std::unique_ptr<WebBrowser> web_;
    std::unique_ptr<WebProcessCrashBar> crash_bar_;
    std::unique_ptr<WebProcessWatchdog> watchdog_;
    std::unique_ptr<BrowserStatus> status_;
    std::unique_ptr<FindBar> find_bar_;
    std::unique_ptr<PageZoom> zoom_;
    std::unique_ptr<BookSearch> book_search_;
    std::unique_ptr<ReaderShortcuts> shortcuts_;  // after what it uses
    std::unique_ptr<CustomMenu> custom_menu_;
    std::unique_ptr<MenuFile> menu_file_;
    std::unique_ptr<ColourSchemeFollower> colour_scheme_;  // only while no skin is on

    KeptSettings kept_;
    std::string executable_folder_;
    std::string last_page_address_;
    std::string application_title_ = "Quillora";
    bool quit_requested_ = false;
    // Last, so that the events stop before anything their handlers use goes away.
    std::vector<EventConnection> events_;          // the browser's and the menu's
    std::vector<SignalConnection> widget_events_;  // the tool bar's and the window's
    std::vector<MainLoopSource> pending_actions_;  // action links' actions, run once idle
};

}  // namespace quillora
