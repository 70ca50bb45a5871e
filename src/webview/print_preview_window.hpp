#pragma once

#include <cairo.h>
#include <gtk/gtk.h>
#include <poppler.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browsing/preview_layout.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "common/temporary_folder.hpp"

namespace quillora {

// A window of our own that shows the pages of a PDF rendering of a web page as they will print:
// the pages one below another, the current page and the page count, next and previous page,
// zoom (fit page, fit width, steps), and Print and Page setup buttons. Only the pages in view
// are rendered. It owns the temporary folder the PDF lies in and removes it when the window
// closes or shows another PDF.
//
// Keys: Page Up/Page Down previous/next page, Home/End first/last page, Ctrl+plus/minus zoom,
// Ctrl+0 actual size, F fit page, W fit width, Ctrl+P print, Escape closes.
class PrintPreviewWindow {
public:
    struct Commands {
        std::function<void(GtkWindow* preview)> print;
        std::function<void(GtkWindow* preview)> page_setup;
    };

    PrintPreviewWindow(GtkWindow* parent, Commands commands);
    ~PrintPreviewWindow();
    PrintPreviewWindow(const PrintPreviewWindow&) = delete;
    PrintPreviewWindow& operator=(const PrintPreviewWindow&) = delete;

    // Shows the PDF at `pdf_path` inside `folder`, which the window takes over, and presents the
    // window. The current page stays where the new PDF has it. Throws Error when the file cannot
    // be read as a PDF; the window then keeps what it showed.
    void Show(TemporaryFolder folder, const std::string& pdf_path, const std::string& subtitle);

    [[nodiscard]] GtkWindow* Window() const { return GTK_WINDOW(window_.get()); }
    [[nodiscard]] bool IsOpen() const { return open_; }
    [[nodiscard]] std::string PdfPath() const { return pdf_path_; }
    [[nodiscard]] int PageCount() const { return layout_.PageCount(); }
    // From 0.
    [[nodiscard]] int CurrentPage() const { return current_; }
    // How many page pictures have been rendered since the last Show: only pages in view are.
    [[nodiscard]] int PagesRendered() const { return pages_rendered_; }
    [[nodiscard]] const PreviewLayout& Layout() const { return layout_; }

    void GoToPage(int index);
    void NextPage() { GoToPage(current_ + 1); }
    void PreviousPage() { GoToPage(current_ - 1); }
    void SetZoomMode(ZoomMode mode);
    void SetZoom(double factor);
    void ZoomIn();
    void ZoomOut();

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const noexcept { cairo_surface_destroy(surface); }
    };
    using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

    void BuildHeaderBar(GtkWidget* window);
    void AddActions(GtkWidget* window);
    // After the zoom or the viewport changed: the content's new size, drawn afresh.
    void Relayout();
    // After the zoom changed: the new size, and the current page shown from its top.
    void Rezoom();
    void ShowCurrentPage();
    void UpdateControls();
    cairo_surface_t* PagePicture(int index, const PreviewRect& rect);

    static void OnDestroy(GtkWidget* window, gpointer self);
    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer self);
    static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
    static void OnSizeAllocate(GtkWidget* pages, GdkRectangle* allocation, gpointer self);
    static gboolean OnDraw(GtkWidget* pages, cairo_t* cr, gpointer self);
    static void OnScrolled(GtkAdjustment* adjustment, gpointer self);
    static void OnAction(GSimpleAction* action, GVariant* parameter, gpointer self);

    Commands commands_;
    TemporaryFolder folder_;
    std::string pdf_path_;
    GObjectPtr<PopplerDocument> document_;
    PreviewLayout layout_;
    int current_ = 0;
    // Set while the window itself moves the scroll position, so that the move does not pick a
    // current page of its own.
    bool scrolling_ = false;
    // The zoom times the screen's scale that the pictures below were rendered at.
    double rendered_scale_ = 0.0;
    std::map<int, SurfacePtr> pictures_;
    int pages_rendered_ = 0;

    GObjectPtr<GtkWidget> window_;
    GtkWidget* pages_ = nullptr;
    GtkWidget* page_label_ = nullptr;
    GtkWidget* zoom_label_ = nullptr;
    GtkWidget* zoom_menu_ = nullptr;
    GtkHeaderBar* header_ = nullptr;
    GObjectPtr<GSimpleActionGroup> actions_;
    bool open_ = true;
    // Last, so that the handlers are disconnected before anything they use goes away.
    std::vector<SignalConnection> connections_;
};

}  // namespace quillora
