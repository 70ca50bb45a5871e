#include "window/page_zoom.hpp"

#include <string>

#include "browsing/zoom_steps.hpp"
#include "common/event_boundary.hpp"

namespace quillora {

namespace {

constexpr guint ShownMilliseconds = 1500;

}  // namespace

PageZoom::PageZoom(WebKitWebView* view, GtkLabel& zoom_panel)
    : view_(view)
    , zoom_panel_(zoom_panel)
    , scroll_(view, "scroll-event", &OnScroll, this)
{
    gtk_widget_add_events(GTK_WIDGET(view), GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
}

PageZoom::~PageZoom()
{
    if (hide_timer_ != 0) g_source_remove(hide_timer_);
}

void PageZoom::ZoomIn()
{
    SetLevel(quillora::ZoomIn(Level()));
}

void PageZoom::ZoomOut()
{
    SetLevel(quillora::ZoomOut(Level()));
}

void PageZoom::Reset()
{
    SetLevel(1.0);
}

double PageZoom::Level() const
{
    return webkit_web_view_get_zoom_level(view_);
}

void PageZoom::SetLevel(double level)
{
    webkit_web_view_set_zoom_level(view_, level);
    const std::string text = "Zoom " + std::to_string(ZoomPercent(level)) + " %";
    gtk_label_set_text(&zoom_panel_, text.c_str());
    gtk_widget_show(GTK_WIDGET(&zoom_panel_));
    if (hide_timer_ != 0) g_source_remove(hide_timer_);
    hide_timer_ = g_timeout_add(
        ShownMilliseconds,
        [](gpointer self) -> gboolean {
            auto& zoom = *static_cast<PageZoom*>(self);
            zoom.hide_timer_ = 0;
            gtk_widget_hide(GTK_WIDGET(&zoom.zoom_panel_));
            return G_SOURCE_REMOVE;
        },
        this);
}

gboolean PageZoom::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self)
{
    if ((event->state & GDK_CONTROL_MASK) == 0) return FALSE;  // the page scrolls
    AtEventBoundary([&] {
        auto& zoom = *static_cast<PageZoom*>(self);
        double notches = 0;
        switch (event->direction) {
        case GDK_SCROLL_UP: notches = -1; break;
        case GDK_SCROLL_DOWN: notches = 1; break;
        case GDK_SCROLL_SMOOTH:
            zoom.wheel_delta_ += event->delta_y;
            if (zoom.wheel_delta_ <= -1 || zoom.wheel_delta_ >= 1) {
                notches = zoom.wheel_delta_;
                zoom.wheel_delta_ = 0;
            }
            break;
        default: break;
        }
        if (notches < 0) zoom.ZoomIn();
        if (notches > 0) zoom.ZoomOut();
    });
    return TRUE;  // Ctrl with the wheel zooms and never scrolls
}

}  // namespace quillora
