#include "webview/page_printer.hpp"

#include <gtk/gtkunixprint.h>

#include <string>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "webview/print_preview_window.hpp"
#include "webview/temporary_folder.hpp"

namespace quillora {

namespace {

// The name of a printer that writes files rather than paper (GTK's "Print to File", whose name
// depends on the language), empty when there is none.
std::string FilePrinterName()
{
    std::string name;
    gtk_enumerate_printers(
        [](GtkPrinter* printer, gpointer found) -> gboolean {
            if (gtk_printer_is_virtual(printer) && gtk_printer_accepts_pdf(printer)) {
                *static_cast<std::string*>(found) = gtk_printer_get_name(printer);
                return TRUE;
            }
            return FALSE;
        },
        &name, nullptr, TRUE);
    return name;
}

}  // namespace

// A print that the engine carries on with after the call that started it.
struct PagePrinter::Job {
    PagePrinter* printer = nullptr;
    GObjectPtr<WebKitPrintOperation> operation;
    bool done = false;
    // For a preview: where the PDF goes, and the folder it lies in until the preview takes it.
    TemporaryFolder folder;
    std::string pdf_path;
    GObjectPtr<GtkWindow> parent;
    std::vector<SignalConnection> connections;
};

PagePrinter::PagePrinter(WebKitWebView* view) : view_(GObjectPtr<WebKitWebView>::Retain(view)) {}

PagePrinter::~PagePrinter() = default;

GObjectPtr<WebKitPrintOperation> PagePrinter::NewOperation() const
{
    auto operation = GObjectPtr<WebKitPrintOperation>::Adopt(webkit_print_operation_new(view_.get()));
    if (settings_) {
        webkit_print_operation_set_print_settings(operation.get(), settings_.get());
    }
    if (page_setup_) {
        webkit_print_operation_set_page_setup(operation.get(), page_setup_.get());
    }
    return operation;
}

PagePrinter::Job& PagePrinter::Start(GObjectPtr<WebKitPrintOperation> operation)
{
    ForgetFinishedJobs();
    Job& job = jobs_.emplace_back();
    job.printer = this;
    job.operation = std::move(operation);
    job.connections.emplace_back(job.operation.get(), "finished", &OnJobFinished, &job);
    job.connections.emplace_back(job.operation.get(), "failed", &OnJobFailed, &job);
    return job;
}

// A job is forgotten only on a later call, never inside its own signal, so that the operation
// is not freed while it is still emitting.
void PagePrinter::ForgetFinishedJobs()
{
    jobs_.remove_if([](const Job& job) { return job.done; });
}

void PagePrinter::PrintWithDialog(GtkWindow* parent)
{
    Job& job = Start(NewOperation());
    const WebKitPrintOperationResponse response =
        webkit_print_operation_run_dialog(job.operation.get(), parent);
    if (response == WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        settings_ = GObjectPtr<GtkPrintSettings>::Retain(
            webkit_print_operation_get_print_settings(job.operation.get()));
        page_setup_ = GObjectPtr<GtkPageSetup>::Retain(
            webkit_print_operation_get_page_setup(job.operation.get()));
    } else {
        job.done = true;
    }
}

void PagePrinter::Print()
{
    Job& job = Start(NewOperation());
    webkit_print_operation_print(job.operation.get());
}

void PagePrinter::RunPageSetup(GtkWindow* parent)
{
    if (!settings_) {
        settings_ = GObjectPtr<GtkPrintSettings>::Adopt(gtk_print_settings_new());
    }
    // The dialog returns a new page setup, the old one when the user cancels.
    page_setup_ = GObjectPtr<GtkPageSetup>::Adopt(
        gtk_print_run_page_setup_dialog(parent, page_setup_.get(), settings_.get()));
}

void PagePrinter::Preview(GtkWindow* parent)
{
    const std::string printer = FilePrinterName();
    if (printer.empty()) {
        throw Error("Print preview is not available: no printer writes PDF files");
    }
    TemporaryFolder folder = TemporaryFolder::Create("quillora-preview");
    const std::string pdf_path = (folder.Path() / "preview.pdf").string();

    GError* raw_error = nullptr;
    const GCharPtr uri(g_filename_to_uri(pdf_path.c_str(), nullptr, &raw_error));
    const GErrorPtr error(raw_error);
    if (!uri) {
        throw Error("Print preview is not available: " + std::string(error->message));
    }
    auto settings = GObjectPtr<GtkPrintSettings>::Adopt(
        settings_ ? gtk_print_settings_copy(settings_.get()) : gtk_print_settings_new());
    gtk_print_settings_set_printer(settings.get(), printer.c_str());
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_URI, uri.get());
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");

    auto operation = NewOperation();
    webkit_print_operation_set_print_settings(operation.get(), settings.get());
    Job& job = Start(std::move(operation));
    job.folder = std::move(folder);
    job.pdf_path = pdf_path;
    job.parent = GObjectPtr<GtkWindow>::Retain(parent);
    webkit_print_operation_print(job.operation.get());
}

void PagePrinter::OnJobFinished(WebKitPrintOperation*, gpointer data)
{
    Job& job = *static_cast<Job*>(data);
    if (job.done) {
        return;  // "failed" came first
    }
    job.done = true;
    if (job.pdf_path.empty()) {
        return;
    }
    AtEventBoundary([&] {
        PagePrinter& printer = *job.printer;
        printer.preview_.reset();
        printer.preview_ = std::make_unique<PrintPreviewWindow>(job.parent.get(), std::move(job.folder),
                                                                job.pdf_path);
    });
}

void PagePrinter::OnJobFailed(WebKitPrintOperation*, GError* error, gpointer data)
{
    Job& job = *static_cast<Job*>(data);
    job.done = true;
    AtEventBoundary([&] {
        const std::string what = job.pdf_path.empty() ? "Printing failed" : "Print preview failed";
        throw Error(what + ": " + (error != nullptr ? error->message : "unknown error"));
    });
}

}  // namespace quillora
