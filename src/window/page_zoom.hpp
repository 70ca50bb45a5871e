#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "common/signal_connection.hpp"

namespace quillora {

// Zooms the page, text and images alike, in steps between 30 % and 300 %; Ctrl with the mouse
// wheel does the same. The new level shows for a moment in the status bar's zoom panel (which
// is hidden with the status bar). Nothing is kept: every run starts at 100 %.
class PageZoom {
public:
    PageZoom(WebKitWebView* view, GtkLabel& zoom_panel);
    ~PageZoom();
    PageZoom(const PageZoom&) = delete;
    PageZoom& operator=(const PageZoom&) = delete;

    void ZoomIn();
    void ZoomOut();
    void Reset();
    [[nodiscard]] double Level() const;

private:
    static gboolean OnScroll(GtkWidget* view, GdkEventScroll* event, gpointer self);
    void SetLevel(double level);

    WebKitWebView* view_;
    GtkLabel& zoom_panel_;
    guint hide_timer_ = 0;
    double wheel_delta_ = 0;  // smooth scrolling, summed up to a whole notch
    SignalConnection scroll_;
};

}  // namespace quillora
