#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <list>
#include <memory>

#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

class PrintPreviewWindow;

// Prints the page of one web view. The choices the user makes in the print and page-setup
// dialogs are kept and used by every later print and preview. A print runs on after the call
// returns; its failure is shown in the standard error report.
class PagePrinter {
public:
    explicit PagePrinter(WebKitWebView* view);
    ~PagePrinter();
    PagePrinter(const PagePrinter&) = delete;
    PagePrinter& operator=(const PagePrinter&) = delete;

    // Shows the print dialog (modal) and prints when the user confirms.
    void PrintWithDialog(GtkWindow* parent);
    // Prints without a dialog, with the kept settings, to the printer the print dialog chose or
    // else to the default printer. Throws Error when there is no such printer.
    void Print();
    // Shows the page-setup dialog (modal) and keeps what the user chose.
    void RunPageSetup(GtkWindow* parent);
    // Keeps a page setup for every later print and preview. An open preview that no longer
    // shows the pages as they will print is rendered afresh.
    void KeepPageSetup(GtkPageSetup* page_setup);
    // Prints the page to a PDF file with the kept settings and shows it in the preview window,
    // which is opened, or brought up to date and to the front. Throws Error when no printer that
    // writes files is available.
    void Preview(GtkWindow* parent);
    // The preview window while it is open, else null.
    [[nodiscard]] PrintPreviewWindow* OpenPreview() const;

private:
    struct Job;

    GObjectPtr<WebKitPrintOperation> NewOperation() const;
    Job& Start(GObjectPtr<WebKitPrintOperation> operation);
    void ForgetFinishedJobs();
    // Renders the PDF for the preview; `parent` null: only an open preview is updated.
    void RenderPreview(GtkWindow* parent);
    void ShowPreview(Job& job);

    static void OnJobFinished(WebKitPrintOperation* operation, gpointer job);
    static void OnJobFailed(WebKitPrintOperation* operation, GError* error, gpointer job);

    GObjectPtr<WebKitWebView> view_;
    GObjectPtr<GtkPrintSettings> settings_;
    GObjectPtr<GtkPageSetup> page_setup_;
    std::list<Job> jobs_;
    std::unique_ptr<PrintPreviewWindow> preview_;
};

}  // namespace quillora
