#include "webview/print_preview_window.hpp"

#include <utility>

#include "common/error.hpp"

namespace quillora {

PrintPreviewWindow::PrintPreviewWindow(GtkWindow* parent, TemporaryFolder folder,
                                       const std::string& pdf_path)
    : folder_(std::move(folder))
{
    GError* raw_error = nullptr;
    const GCharPtr uri(g_filename_to_uri(pdf_path.c_str(), nullptr, &raw_error));
    const GErrorPtr error(raw_error);
    if (!uri) {
        throw Error("Cannot show the print preview: " + std::string(error->message));
    }

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    window_ = GObjectPtr<GtkWidget>::Retain(window);
    gtk_window_set_title(GTK_WINDOW(window), "Print preview");
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    if (parent != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(window), parent);
        gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
    }
    GtkWidget* view = webkit_web_view_new();
    view_ = GObjectPtr<WebKitWebView>::Retain(WEBKIT_WEB_VIEW(view));
    gtk_container_add(GTK_CONTAINER(window), view);

    connections_.emplace_back(window, "destroy", &OnDestroy, this);
    connections_.emplace_back(view, "decide-policy", &OnDecidePolicy, this);

    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri.get());
    gtk_widget_show_all(window);
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    if (open_) {
        gtk_widget_destroy(window_.get());
    }
    connections_.clear();
}

void PrintPreviewWindow::OnDestroy(GtkWidget*, gpointer self)
{
    auto& preview = *static_cast<PrintPreviewWindow*>(self);
    preview.open_ = false;
    preview.folder_.Remove();
}

// The preview is a picture of the page, not the page: its links lead nowhere.
gboolean PrintPreviewWindow::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                            WebKitPolicyDecisionType type, gpointer)
{
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        if (webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) {
            webkit_policy_decision_ignore(decision);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace quillora
