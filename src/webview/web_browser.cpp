#include "webview/web_browser.hpp"

#include <utility>

#include "book/book_file_access.hpp"
#include "book/book_links.hpp"
#include "book/navigation_address.hpp"
#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "common/temporary_folder.hpp"
#include "webview/page_printer.hpp"

namespace quillora {

namespace {

WebBrowser& Self(gpointer self)
{
    return *static_cast<WebBrowser*>(self);
}

std::string OrEmpty(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

// One script run: what to call when it fails.
struct ScriptCall {
    WebBrowser::ScriptFailure on_failure;
    WebBrowser::ScriptResult on_result;
};

}  // namespace

WebBrowser::WebBrowser(WebKitWebView* view)
    : view_(GObjectPtr<WebKitWebView>::Retain(view))
    , scripts_(GObjectPtr<GCancellable>::Adopt(g_cancellable_new()))
    , printer_(std::make_unique<PagePrinter>(view))
{}

WebBrowser::~WebBrowser()
{
    connections_.clear();
    g_cancellable_cancel(scripts_.get());
}

void WebBrowser::Connect()
{
    if (!connections_.empty()) {
        return;
    }
    WebKitWebView* view = view_.get();
    connections_.emplace_back(view, "decide-policy", &OnDecidePolicy, this);
    connections_.emplace_back(view, "load-changed", &OnLoadChanged, this);
    connections_.emplace_back(view, "load-failed", &OnLoadFailed, this);
    connections_.emplace_back(view, "notify::estimated-load-progress", &OnProgressNotify, this);
    connections_.emplace_back(view, "notify::title", &OnTitleNotify, this);
    connections_.emplace_back(webkit_web_view_get_back_forward_list(view), "changed", &OnHistoryChanged, this);
    connections_.emplace_back(view, "web-process-terminated", &OnWebProcessTerminated, this);
}

void WebBrowser::ApplySafeSettings()
{
    WebKitSettings* settings = webkit_web_view_get_settings(view_.get());
    // A page loads its own images, style sheets and scripts from the book's folder without these;
    // they would let a page's scripts read any local file.
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_javascript_can_access_clipboard(settings, FALSE);
#ifdef NDEBUG
    webkit_settings_set_enable_developer_extras(settings, FALSE);
#else
    webkit_settings_set_enable_developer_extras(settings, TRUE);
#endif
}

void WebBrowser::SetBookFolder(const std::string& folder)
{
    addresses_ = BookAddresses::ForFolder(folder);
}

void WebBrowser::AllowFileAccessWithin(const std::string& folder)
{
    // The rules must match the addresses the pages are loaded from. Links are looked for once,
    // here: one made while the book is open is not seen.
    const std::string rules = BookFileAccessRules(addresses_.AddressOf(folder), FindBookLinks(folder));
    // The engine compiles the rules into a store on disk; the compiled rules stay in memory once
    // loaded, so the store goes away again at once. A fresh store each time means rules of an
    // earlier run (another book, other links) are never taken for these under the same name.
    // The engine compiles in the temporary folder and says only "Unspecified error during
    // compile" when it cannot write there: the reader hears which folder and why.
    const std::filesystem::path temporary = TemporaryFilesFolder();
    if (const std::string problem = TemporaryFolderProblem(temporary); !problem.empty()) {
        throw Error("Cannot give the pages access to " + folder + ": the temporary folder " + temporary.string() + " " +
                    problem);
    }
    const TemporaryFolder store_folder = TemporaryFolder::Create("quillora-rules");
    const auto store = GObjectPtr<WebKitUserContentFilterStore>::Adopt(
        webkit_user_content_filter_store_new(store_folder.Path().c_str()));
    struct Compiled {
        bool done = false;
        WebKitUserContentFilter* filter = nullptr;
        GError* error = nullptr;
    } compiled;
    GErrorPtr error;
    const std::unique_ptr<GBytes, decltype(&g_bytes_unref)> source(g_bytes_new(rules.data(), rules.size()),
                                                                   &g_bytes_unref);
    webkit_user_content_filter_store_save(
        store.get(), "book-files", source.get(), nullptr,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            auto& out = *static_cast<Compiled*>(data);
            out.filter = webkit_user_content_filter_store_save_finish(WEBKIT_USER_CONTENT_FILTER_STORE(object), result,
                                                                      &out.error);
            out.done = true;
        },
        &compiled);
    while (!compiled.done) {
        g_main_context_iteration(nullptr, TRUE);
    }
    error.reset(compiled.error);
    if (compiled.filter == nullptr) {
        throw Error("Cannot give the pages access to " + folder + ": " + OrEmpty(error ? error->message : nullptr));
    }
    webkit_user_content_manager_add_filter(webkit_web_view_get_user_content_manager(view_.get()), compiled.filter);
    webkit_user_content_filter_unref(compiled.filter);
    webkit_settings_set_allow_file_access_from_file_urls(webkit_web_view_get_settings(view_.get()), TRUE);
}

void WebBrowser::Navigate(const std::string& address)
{
    std::string uri;
    if (!address.empty() && address.front() == '/') {
        uri = addresses_.AddressOf(address);
    } else if (HasUriScheme(address)) {
        uri = address;
    } else {
        throw Error("Cannot navigate to \"" + address + "\": it is neither an address nor a full path");
    }
    webkit_web_view_load_uri(view_.get(), uri.c_str());
}

void WebBrowser::GoBack()
{
    if (!webkit_web_view_can_go_back(view_.get())) {
        throw Error("There is no previous page to go back to");
    }
    webkit_web_view_go_back(view_.get());
}

void WebBrowser::GoForward()
{
    if (!webkit_web_view_can_go_forward(view_.get())) {
        throw Error("There is no next page to go forward to");
    }
    webkit_web_view_go_forward(view_.get());
}

void WebBrowser::Refresh()
{
    webkit_web_view_reload(view_.get());
}

void WebBrowser::Stop()
{
    webkit_web_view_stop_loading(view_.get());
}

void WebBrowser::ExecWB(OleCmdId command, OleCmdExecOpt option)
{
    switch (command) {
    case OleCmdId::SelectAll:
        webkit_web_view_execute_editing_command(view_.get(), WEBKIT_EDITING_COMMAND_SELECT_ALL);
        return;
    case OleCmdId::Copy: webkit_web_view_execute_editing_command(view_.get(), WEBKIT_EDITING_COMMAND_COPY); return;
    case OleCmdId::Print:
        if (!HasDocument()) {
            throw Error("There is no page to print");
        }
        if (option == OleCmdExecOpt::PromptUser) {
            printer_->PrintWithDialog(ParentWindow());
        } else {
            printer_->Print();
        }
        return;
    case OleCmdId::PageSetup: printer_->RunPageSetup(ParentWindow()); return;
    case OleCmdId::PrintPreview:
        if (!HasDocument()) {
            throw Error("There is no page to preview");
        }
        printer_->Preview(ParentWindow());
        return;
    }
    throw Error("The browser does not support command " + std::to_string(static_cast<int>(command)));
}

bool WebBrowser::IsLoading() const
{
    return webkit_web_view_is_loading(view_.get()) != FALSE;
}

void WebBrowser::ShowOwnPage(const std::string& html, const std::string& address)
{
    own_page_address_ = address;
    webkit_web_view_load_alternate_html(view_.get(), html.c_str(), address.c_str(), nullptr);
}

std::string WebBrowser::LocationURL() const
{
    return document_url_;
}

bool WebBrowser::HasDocument() const
{
    return !document_url_.empty();
}

std::string WebBrowser::LocalPathOf(const std::string& address) const
{
    return addresses_.PathOf(address);
}

std::string WebBrowser::AddressOf(const std::string& path) const
{
    return addresses_.AddressOf(path);
}

void WebBrowser::RunScript(const std::string& javascript, ScriptFailure on_failure, ScriptResult on_result)
{
    auto call = std::make_unique<ScriptCall>(ScriptCall{std::move(on_failure), std::move(on_result)});
    webkit_web_view_evaluate_javascript(view_.get(), javascript.data(), static_cast<gssize>(javascript.size()), nullptr,
                                        nullptr, scripts_.get(), &OnScriptDone, call.release());
}

GtkWidget* WebBrowser::Widget() const
{
    return GTK_WIDGET(view_.get());
}

GtkWindow* WebBrowser::ParentWindow() const
{
    GtkWidget* top = gtk_widget_get_toplevel(Widget());
    return gtk_widget_is_toplevel(top) && GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

void WebBrowser::ReportProgress(const std::vector<int>& values)
{
    for (const int value : values) {
        AtEventBoundary([&] { signal_progress_change.Emit(value); });
    }
}

gboolean WebBrowser::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                    gpointer self)
{
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        return FALSE;
    }
    bool cancel = false;
    AtEventBoundary([&] {
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        WebBrowser& browser = Self(self);
        browser.deciding_redirect_ = webkit_navigation_action_is_redirect(action) != FALSE;
        browser.signal_before_navigate2.Emit(DecodeNonAsciiEscapes(OrEmpty(uri)), cancel);
    });
    Self(self).deciding_redirect_ = false;
    // A handler that set `cancel` and then failed still cancels.
    if (cancel) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        // The program has one window: a page that asks for a new one gets its address loaded
        // here instead of nothing at all. That load is decided again as an ordinary navigation.
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const GObjectPtr<WebKitURIRequest> request =
            GObjectPtr<WebKitURIRequest>::Retain(webkit_navigation_action_get_request(action));
        webkit_policy_decision_ignore(decision);
        webkit_web_view_load_request(Self(self).view_.get(), request.get());
        return TRUE;
    }
    return FALSE;
}

// Each engine callback runs whole inside the event boundary (even a string copy may throw), and
// each event it raises has its own boundary, so one failing handler does not keep the others
// from their events.

void WebBrowser::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self)
{
    AtEventBoundary([&] {
        WebBrowser& browser = Self(self);
        switch (event) {
        case WEBKIT_LOAD_STARTED:
            browser.load_failed_ = false;
            browser.ReportProgress(browser.progress_.LoadStarted());
            break;
        case WEBKIT_LOAD_REDIRECTED: break;
        case WEBKIT_LOAD_COMMITTED:
            browser.document_url_ = OrEmpty(webkit_web_view_get_uri(view));
            browser.own_page_on_display_ = !browser.own_page_address_.empty() &&
                                           std::exchange(browser.own_page_address_, {}) == browser.document_url_;
            break;
        case WEBKIT_LOAD_FINISHED: {
            const bool failed = std::exchange(browser.load_failed_, false);
            if (!failed) {
                // The address may have changed since the commit (a fragment, history.pushState).
                browser.document_url_ = OrEmpty(webkit_web_view_get_uri(view));
                const std::string url = browser.document_url_;
                AtEventBoundary([&] { browser.signal_document_complete.Emit(url); });
            }
            browser.ReportProgress(browser.progress_.LoadEnded());
            break;
        }
        }
    });
}

gboolean WebBrowser::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer self)
{
    bool replaced = false;
    AtEventBoundary([&] {
        WebBrowser& browser = Self(self);
        browser.load_failed_ = true;
        browser.ReportProgress(browser.progress_.LoadEnded());
        // A load the reader or the program stopped, or a navigation that was refused (an action
        // link, an address for the desktop), is no failure to explain.
        const bool failed =
            error != nullptr && !g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) &&
            !g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) &&
            !g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD);
        if (failed) {
            browser.signal_load_failed.Emit(OrEmpty(uri), *error, replaced);
        }
    });
    return replaced ? TRUE : FALSE;  // otherwise the engine shows its error page
}

void WebBrowser::OnProgressNotify(GObject* view, GParamSpec*, gpointer self)
{
    AtEventBoundary([&] {
        WebBrowser& browser = Self(self);
        const double fraction = webkit_web_view_get_estimated_load_progress(WEBKIT_WEB_VIEW(view));
        browser.ReportProgress(browser.progress_.Fraction(fraction));
    });
}

void WebBrowser::OnTitleNotify(GObject* view, GParamSpec*, gpointer self)
{
    AtEventBoundary([&] {
        const std::string title = OrEmpty(webkit_web_view_get_title(WEBKIT_WEB_VIEW(view)));
        Self(self).signal_title_change.Emit(title);
    });
}

void WebBrowser::OnHistoryChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, gpointer self)
{
    WebBrowser& browser = Self(self);
    const bool forward = webkit_web_view_can_go_forward(browser.view_.get());
    const bool back = webkit_web_view_can_go_back(browser.view_.get());
    AtEventBoundary([&] { browser.signal_command_state_change.Emit(CSC_NAVIGATEFORWARD, forward); });
    AtEventBoundary([&] { browser.signal_command_state_change.Emit(CSC_NAVIGATEBACK, back); });
}

void WebBrowser::OnWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self)
{
    AtEventBoundary([&] {
        WebBrowser& browser = Self(self);
        // A load that was running has ended with the process; no event of the engine says so.
        browser.load_failed_ = false;
        browser.ReportProgress(browser.progress_.LoadEnded());
        const bool over_limit = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ||
                                (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API && browser.ending_over_memory_limit_);
        browser.ending_over_memory_limit_ = false;
        browser.signal_web_process_terminated.Emit(over_limit);
    });
}

void WebBrowser::EndWebProcessOverMemoryLimit()
{
    ending_over_memory_limit_ = true;
    webkit_web_view_terminate_web_process(view_.get());
}

void WebBrowser::OnScriptDone(GObject* view, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<ScriptCall> call(static_cast<ScriptCall*>(data));
    GError* raw_error = nullptr;
    const GObjectPtr<JSCValue> value = GObjectPtr<JSCValue>::Adopt(
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &raw_error));
    const GErrorPtr error(raw_error);
    if (!error) {
        if (call->on_result && value) {
            AtEventBoundary([&] {
                const GCharPtr text(jsc_value_to_string(value.get()));
                call->on_result(OrEmpty(text.get()));
            });
        }
        return;
    }
    if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        return;
    }
    AtEventBoundary([&] {
        const std::string message = OrEmpty(error->message);
        if (call->on_failure) {
            call->on_failure(message);
        } else {
            g_warning("A script in the page failed: %s", message.c_str());
        }
    });
}

}  // namespace quillora
