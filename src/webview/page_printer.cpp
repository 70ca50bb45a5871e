#include "webview/page_printer.hpp"

#include <gtk/gtkunixprint.h>

#include <string>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "common/temporary_folder.hpp"
#include "webview/print_preview_window.hpp"

namespace quillora {

namespace {

// What the printers GTK knows of offer: the one a name asks for, the default one, and the
// one that writes PDF files rather than paper (GTK's "Print to File", whose name depends on the
// language). Empty names where there is none.
struct Printers {
    std::string wanted;
    std::string by_default;
    std::string file;
    bool any_paper = false;
};

Printers FindPrinters(const std::string& wanted)
{
    struct Search {
        const std::string& wanted;
        Printers found;
    } search{wanted, {}};
    gtk_enumerate_printers(
        [](GtkPrinter* printer, gpointer data) -> gboolean {
            auto& [asked, found] = *static_cast<Search*>(data);
            const std::string name = gtk_printer_get_name(printer);
            const bool paper = !gtk_printer_is_virtual(printer);
            if (!asked.empty() && name == asked) {
                found.wanted = name;
            }
            if (paper && gtk_printer_is_default(printer)) {
                found.by_default = name;
            }
            if (!paper && gtk_printer_accepts_pdf(printer) && found.file.empty()) {
                found.file = name;
            }
            found.any_paper = found.any_paper || paper;
            return FALSE;
        },
        &search, nullptr, TRUE);
    return search.found;
}

// Whether two page setups lay out pages alike (null is GTK's default setup). Compared field by
// field: GTK 3's own variant of a setup keeps a reference to every paper field it copies.
bool SameLayout(GtkPageSetup* left, GtkPageSetup* right)
{
    auto own = [](GtkPageSetup* setup) {
        return setup != nullptr ? GObjectPtr<GtkPageSetup>::Retain(setup)
                                : GObjectPtr<GtkPageSetup>::Adopt(gtk_page_setup_new());
    };
    const auto a = own(left);
    const auto b = own(right);
    GtkPaperSize* paper_a = gtk_page_setup_get_paper_size(a.get());
    GtkPaperSize* paper_b = gtk_page_setup_get_paper_size(b.get());
    constexpr GtkUnit Points = GTK_UNIT_POINTS;
    return gtk_page_setup_get_orientation(a.get()) == gtk_page_setup_get_orientation(b.get()) &&
           gtk_paper_size_is_equal(paper_a, paper_b) &&
           gtk_paper_size_get_width(paper_a, Points) == gtk_paper_size_get_width(paper_b, Points) &&
           gtk_paper_size_get_height(paper_a, Points) == gtk_paper_size_get_height(paper_b, Points) &&
           gtk_page_setup_get_top_margin(a.get(), Points) == gtk_page_setup_get_top_margin(b.get(), Points) &&
           gtk_page_setup_get_bottom_margin(a.get(), Points) == gtk_page_setup_get_bottom_margin(b.get(), Points) &&
           gtk_page_setup_get_left_margin(a.get(), Points) == gtk_page_setup_get_left_margin(b.get(), Points) &&
           gtk_page_setup_get_right_margin(a.get(), Points) == gtk_page_setup_get_right_margin(b.get(), Points);
}

}  // namespace

// A print that the engine carries on with after the call that started it.
struct PagePrinter::Job {
    PagePrinter* printer = nullptr;
    GObjectPtr<WebKitPrintOperation> operation;
    bool done = false;
    // For a preview: where the PDF goes, the folder it lies in until the preview takes it, and
    // the window to open the preview over (none: only an open preview is brought up to date).
    bool preview = false;
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
    const WebKitPrintOperationResponse response = webkit_print_operation_run_dialog(job.operation.get(), parent);
    if (response == WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        settings_ =
            GObjectPtr<GtkPrintSettings>::Retain(webkit_print_operation_get_print_settings(job.operation.get()));
        GtkPageSetup* chosen = webkit_print_operation_get_page_setup(job.operation.get());
        if (!SameLayout(chosen, page_setup_.get())) {
            KeepPageSetup(chosen);
        }
    } else {
        job.done = true;
    }
}

void PagePrinter::Print()
{
    const char* kept = settings_ ? gtk_print_settings_get_printer(settings_.get()) : nullptr;
    const Printers printers = FindPrinters(kept != nullptr ? kept : "");
    const std::string printer = !printers.wanted.empty() ? printers.wanted : printers.by_default;
    if (printer.empty()) {
        // The engine would only say "Printer not found", after the call has returned.
        throw Error(printers.any_paper ? "No printer is set as the default printer. Choose a default printer in "
                                         "the system's printer settings and try again"
                                       : "There is no printer to print to. Add a printer in the system's printer "
                                         "settings and try again");
    }
    auto settings = GObjectPtr<GtkPrintSettings>::Adopt(settings_ ? gtk_print_settings_copy(settings_.get())
                                                                  : gtk_print_settings_new());
    gtk_print_settings_set_printer(settings.get(), printer.c_str());
    auto operation = NewOperation();
    webkit_print_operation_set_print_settings(operation.get(), settings.get());
    Job& job = Start(std::move(operation));
    webkit_print_operation_print(job.operation.get());
}

void PagePrinter::RunPageSetup(GtkWindow* parent)
{
    if (!settings_) {
        settings_ = GObjectPtr<GtkPrintSettings>::Adopt(gtk_print_settings_new());
    }
    // The dialog returns a new page setup, a copy of the old one when the user cancels.
    auto chosen =
        GObjectPtr<GtkPageSetup>::Adopt(gtk_print_run_page_setup_dialog(parent, page_setup_.get(), settings_.get()));
    if (!SameLayout(chosen.get(), page_setup_.get())) {
        KeepPageSetup(chosen.get());
    }
}

void PagePrinter::KeepPageSetup(GtkPageSetup* page_setup)
{
    page_setup_ = GObjectPtr<GtkPageSetup>::Retain(page_setup);
    if (OpenPreview() != nullptr) {
        RenderPreview(nullptr);
    }
}

void PagePrinter::Preview(GtkWindow* parent)
{
    RenderPreview(parent);
}

PrintPreviewWindow* PagePrinter::OpenPreview() const
{
    return preview_ && preview_->IsOpen() ? preview_.get() : nullptr;
}

void PagePrinter::RenderPreview(GtkWindow* parent)
{
    const std::string printer = FindPrinters("").file;
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
    auto settings = GObjectPtr<GtkPrintSettings>::Adopt(settings_ ? gtk_print_settings_copy(settings_.get())
                                                                  : gtk_print_settings_new());
    gtk_print_settings_set_printer(settings.get(), printer.c_str());
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_URI, uri.get());
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");

    auto operation = NewOperation();
    webkit_print_operation_set_print_settings(operation.get(), settings.get());
    Job& job = Start(std::move(operation));
    job.preview = true;
    job.folder = std::move(folder);
    job.pdf_path = pdf_path;
    job.parent = GObjectPtr<GtkWindow>::Retain(parent);
    webkit_print_operation_print(job.operation.get());
}

void PagePrinter::ShowPreview(Job& job)
{
    if (!job.parent && OpenPreview() == nullptr) {
        return;  // the preview this was for has been closed
    }
    const bool fresh = OpenPreview() == nullptr;
    if (fresh) {
        PrintPreviewWindow::Commands commands;
        commands.print = [this](GtkWindow* preview) { PrintWithDialog(preview); };
        commands.page_setup = [this](GtkWindow* preview) { RunPageSetup(preview); };
        preview_.reset();
        preview_ = std::make_unique<PrintPreviewWindow>(job.parent.get(), std::move(commands));
    }
    const char* title = webkit_web_view_get_title(view_.get());
    try {
        preview_->Show(std::move(job.folder), job.pdf_path, title != nullptr ? title : "");
    } catch (...) {
        if (fresh) {
            preview_.reset();  // never shown: no window should linger unseen
        }
        throw;
    }
}

void PagePrinter::OnJobFinished(WebKitPrintOperation*, gpointer data)
{
    Job& job = *static_cast<Job*>(data);
    if (job.done) {
        return;  // "failed" came first
    }
    job.done = true;
    if (job.preview) {
        AtEventBoundary([&] { job.printer->ShowPreview(job); });
    }
}

void PagePrinter::OnJobFailed(WebKitPrintOperation*, GError* error, gpointer data)
{
    Job& job = *static_cast<Job*>(data);
    job.done = true;
    AtEventBoundary([&] {
        const std::string what = job.preview ? "Print preview failed" : "Printing failed";
        throw Error(what + ": " + (error != nullptr ? error->message : "unknown error"));
    });
}

}  // namespace quillora
