#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>
#include <vector>

#include "webview/gobject_ptr.hpp"
#include "webview/signal_connection.hpp"
#include "webview/temporary_folder.hpp"

namespace quillora {

// A window of our own that shows a PDF rendering of a page with the engine's PDF viewer. It owns
// the temporary folder the PDF lies in and removes it when the window closes.
class PrintPreviewWindow {
public:
    PrintPreviewWindow(GtkWindow* parent, TemporaryFolder folder, const std::string& pdf_path);
    ~PrintPreviewWindow();
    PrintPreviewWindow(const PrintPreviewWindow&) = delete;
    PrintPreviewWindow& operator=(const PrintPreviewWindow&) = delete;

    [[nodiscard]] GtkWindow* Window() const { return GTK_WINDOW(window_.get()); }
    [[nodiscard]] WebKitWebView* View() const { return view_.get(); }
    [[nodiscard]] bool IsOpen() const { return open_; }

private:
    static void OnDestroy(GtkWidget* window, gpointer self);
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);

    TemporaryFolder folder_;
    GObjectPtr<GtkWidget> window_;
    GObjectPtr<WebKitWebView> view_;
    bool open_ = true;
    std::vector<SignalConnection> connections_;
};

}  // namespace quillora
