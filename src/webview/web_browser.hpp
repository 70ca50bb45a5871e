#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "book/book_addresses.hpp"
#include "browsing/progress_mapping.hpp"
#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

class PagePrinter;

// The commands that ExecWB carries out on the displayed page, with the numbers the action
// language and the tool bar know them by.
enum class OleCmdId { Print = 6, PrintPreview = 7, PageSetup = 8, Copy = 12, SelectAll = 17 };
enum class OleCmdExecOpt { PromptUser = 1, DontPromptUser = 2 };

// The two commands a command-state event is about.
enum CommandStateCommand { CSC_NAVIGATEFORWARD = 1, CSC_NAVIGATEBACK = 2 };

// The window's browser `Web`: one WebKitWebView (made by the window description) seen through
// the operations and the seven events the rest of the program uses. Every operation that fails
// throws Error; every event handler runs inside the event boundary, so an exception thrown by a
// handler is reported there and the rest of that handler is skipped.
class WebBrowser {
public:
    // Keeps a reference to the view; nothing is connected until Connect().
    explicit WebBrowser(WebKitWebView* view);
    ~WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // Connects the engine's signals to the events below. Call once after construction; calling
    // it again does nothing.
    void Connect();

    // Switches off what a page of the book must not have: file access across origins, pop-ups
    // opened by scripts, script access to the clipboard, and (in release builds) the inspector.
    void ApplySafeSettings();
    // Makes `folder` (an absolute path ending in "/") the book's folder, so that its pages get
    // addresses the engine can show whatever the folder's name (see BookAddresses). Throws Error
    // when that cannot be set up; addresses are then formed from the paths as they are.
    void SetBookFolder(const std::string& folder);
    // Lets the pages read files inside `folder` (an absolute path ending in "/") with fetch and
    // XMLHttpRequest, as documentation pages load their data, and blocks every other file:
    // address, pages and their parts included. Waits until the engine has the rules; throws
    // Error, leaving file access off, when it cannot make them.
    void AllowFileAccessWithin(const std::string& folder);

    // An absolute file-system path is loaded as its file:// URI (every character that needs an
    // escape gets one: blanks, '#', '?', '%', non-ASCII; a path in the book's folder names the
    // folder as the engine sees it); an address with a scheme is loaded as it is. Anything else is not an address and
    // throws Error. Returns at once; the rest comes as events.
    void Navigate(const std::string& address);
    // Throw Error when the history has no page in that direction.
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();
    void ExecWB(OleCmdId command, OleCmdExecOpt option);

    // The address of the document on display (the last one the engine committed to), empty
    // before the first. While a navigation is being decided, this is still the page that
    // started it when the navigation is a link in that page or in one of its frames.
    [[nodiscard]] std::string LocationURL() const;
    [[nodiscard]] bool HasDocument() const;
    // The local path of a file: address that this browser formed or loaded, empty for any other.
    [[nodiscard]] std::string LocalPathOf(const std::string& address) const;
    // The file: address this browser loads an absolute path at; throws Error for any other path.
    [[nodiscard]] std::string AddressOf(const std::string& path) const;
    // While signal_before_navigate2 is raised: whether the navigation is a server's redirect
    // rather than something a document did.
    [[nodiscard]] bool DecidingRedirect() const { return deciding_redirect_; }
    // Whether a page is being loaded now.
    [[nodiscard]] bool IsLoading() const;

    // Shows `html`, a page of the program's own, in place of the document at `address` that could
    // not be loaded; the page goes by that address, in the history too. Call it from
    // signal_load_failed, or in place of loading an address that names nothing to show.
    void ShowOwnPage(const std::string& html, const std::string& address);
    // Whether the document on display is that page.
    [[nodiscard]] bool ShowsOwnPage() const { return own_page_on_display_; }

    // Runs a script in the top-level document, without waiting for it. A failure goes to
    // `on_failure` (inside the event boundary), or to the log when none is given; the value the
    // script ends with, as text, goes to `on_result` (inside the event boundary too). Nothing is
    // called for a script still running when this browser goes away.
    using ScriptFailure = std::function<void(const std::string& message)>;
    using ScriptResult = std::function<void(const std::string& value)>;
    void RunScript(const std::string& javascript, ScriptFailure on_failure = {}, ScriptResult on_result = {});

    // Ends the web process that shows the page because it uses more memory than it may; it is
    // reported as the engine's own memory limit would report it (signal_web_process_terminated).
    void EndWebProcessOverMemoryLimit();

    [[nodiscard]] GtkWidget* Widget() const;
    [[nodiscard]] WebKitWebView* View() const { return view_.get(); }

    // Before every navigation of the top document or a frame, and before a page opens a new
    // window. The address reads as the author wrote it as far as the engine allows: the engine
    // lower-cases the scheme ("ACTION:" arrives as "action:"), drops blanks and control
    // characters at both ends, removes tabs and line ends, and writes a blank just before a '#'
    // or '?' as "%20"; other blanks, double quotes and ASCII escapes arrive unchanged, and
    // characters outside ASCII, which the engine escapes, are decoded back. Setting `cancel`
    // stops the navigation. A new window that is not cancelled is not opened: its address is
    // loaded in this view, and that load raises this event once more.
    EventSignal<const std::string&, bool&> signal_before_navigate2;
    // When the top document has loaded, with its address. Not raised for a load that failed (the
    // engine's error page that follows raises its own). Frames load inside the web process,
    // where the program cannot observe them, so there is no event per frame.
    EventSignal<const std::string&> signal_document_complete;
    // Load progress 1..100 while a page loads, and 0 once when the load ends (see ProgressMapping).
    EventSignal<int /*progress*/> signal_progress_change;
    EventSignal<const std::string&> signal_title_change;
    // After every change of the history: CSC_NAVIGATEFORWARD, then CSC_NAVIGATEBACK, each with
    // whether the history has a page in that direction.
    EventSignal<int /*command*/, bool /*enable*/> signal_command_state_change;
    // When the engine's web process that shows the page has ended: it crashed, was killed, or
    // went past its memory limit (`over_memory_limit`). The view stays blank until Refresh().
    EventSignal<bool /*over_memory_limit*/> signal_web_process_terminated;
    // When the top document could not be loaded: not for a load that was cancelled or a
    // navigation that was refused. A handler that calls ShowOwnPage sets `replaced`; otherwise
    // the engine shows its own error text.
    EventSignal<const std::string&, const GError&, bool&> signal_load_failed;

private:
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                   gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error, gpointer self);
    static void OnProgressNotify(GObject* view, GParamSpec* property, gpointer self);
    static void OnTitleNotify(GObject* view, GParamSpec* property, gpointer self);
    static void OnHistoryChanged(WebKitBackForwardList* list, WebKitBackForwardListItem* added, gpointer removed,
                                 gpointer self);
    static void OnScriptDone(GObject* view, GAsyncResult* result, gpointer call);
    static void OnWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self);

    void ReportProgress(const std::vector<int>& values);
    [[nodiscard]] GtkWindow* ParentWindow() const;

    GObjectPtr<WebKitWebView> view_;
    GObjectPtr<GCancellable> scripts_;
    std::unique_ptr<PagePrinter> printer_;
    ProgressMapping progress_;
    BookAddresses addresses_;
    std::string document_url_;
    bool load_failed_ = false;
    bool deciding_redirect_ = false;
    std::string own_page_address_;  // set by ShowOwnPage until its document commits
    bool own_page_on_display_ = false;
    bool ending_over_memory_limit_ = false;  // while EndWebProcessOverMemoryLimit waits for the end
    // Last, so that the handlers are disconnected before anything they use goes away.
    std::vector<SignalConnection> connections_;
};

}  // namespace quillora
