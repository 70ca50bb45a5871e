#include "window/window_animation.hpp"

#include <memory>
#include <thread>
#include <vector>

#include <cairo.h>

#include "common/signal_connection.hpp"

namespace quillora {

namespace {

struct RegionDeleter {
    void operator()(cairo_region_t* region) const { cairo_region_destroy(region); }
};
using RegionPtr = std::unique_ptr<cairo_region_t, RegionDeleter>;

RegionPtr ToCairoRegion(const std::vector<PixelRect>& rectangles)
{
    std::vector<cairo_rectangle_int_t> cairo_rectangles;
    cairo_rectangles.reserve(rectangles.size());
    for (const auto& r : rectangles) {
        cairo_rectangles.push_back({r.x, r.y, r.width, r.height});
    }
    return RegionPtr(
        cairo_region_create_rectangles(cairo_rectangles.data(), static_cast<int>(cairo_rectangles.size())));
}

// Lets the window system show the new shape before the pause.
void FlushAndWait()
{
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
    gdk_display_flush(gdk_display_get_default());
    std::this_thread::sleep_for(WindowAnimation::StepPause);
}

}  // namespace

bool WindowAnimation::Play(GtkWindow* window, AnimationEffect effect)
{
    // The steps let the main loop run, so the reader may close the window meanwhile. Left to
    // GTK that would only hide it until the loop starts; here it ends the effect, and the caller
    // ends the program.
    bool closed = false;
    const SignalConnection close_watch =
        Connect<gboolean(GtkWidget*, GdkEvent*)>(window, "delete-event", [&closed](GtkWidget*, GdkEvent*) -> gboolean {
            closed = true;
            return TRUE;  // the caller decides what a close means now
        });

    int width = 0;
    int height = 0;
    gtk_window_get_size(window, &width, &height);
    const auto regions = EffectRegions(effect, width, height);
    last_step_count_ = 0;
    left_visibility_ = true;

    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
    const AnimationPlayback playback =
        PlaybackFor({.shapes = gdk_display_supports_shapes(display) != FALSE,
                     .opacity = gdk_screen_is_composited(gtk_widget_get_screen(GTK_WIDGET(window))) != FALSE});
    if (playback == AnimationPlayback::AtOnce) {
        // Nothing would be seen of the steps: the window is left as the effect would leave it,
        // an appearing one to be shown by the caller as any window is.
        if (effect.direction == AnimationDirection::Appear) {
            left_visibility_ = false;
        } else {
            gtk_widget_hide(GTK_WIDGET(window));
        }
        return true;
    }
    if (playback == AnimationPlayback::Fade) {
        return Fade(window, effect.direction, static_cast<int>(regions.size()), closed);
    }

    std::vector<PixelRect> rectangles;
    const auto apply = [&](const ShapeRegion& region) {
        RasteriseRegion(region, rectangles);
        const RegionPtr shape = ToCairoRegion(rectangles);
        gtk_widget_shape_combine_region(GTK_WIDGET(window), shape.get());
    };
    // The first shape is set before the window shows, so that an appearing window does not
    // flash whole before its first, smallest step.
    if (!regions.empty()) apply(regions.front());
    gtk_widget_show(GTK_WIDGET(window));
    for (const auto& region : regions) {
        if (closed) break;
        apply(region);
        ++last_step_count_;
        FlushAndWait();
    }

    if (closed || effect.direction == AnimationDirection::Disappear) {
        gtk_widget_hide(GTK_WIDGET(window));
    }
    gtk_widget_shape_combine_region(GTK_WIDGET(window), nullptr);
    return !closed;
}

bool WindowAnimation::Fade(GtkWindow* window, AnimationDirection direction, int steps, const bool& closed)
{
    // As many steps as the shape would take, so that the effect lasts as long as the author saw.
    GtkWidget* widget = GTK_WIDGET(window);
    gtk_widget_set_opacity(widget, FadeOpacity(direction, 0, steps));
    gtk_widget_show(widget);
    for (int step = 1; step <= steps && !closed; ++step) {
        gtk_widget_set_opacity(widget, FadeOpacity(direction, step, steps));
        ++last_step_count_;
        FlushAndWait();
    }
    if (closed || direction == AnimationDirection::Disappear) {
        gtk_widget_hide(widget);
    }
    gtk_widget_set_opacity(widget, 1.0);
    return !closed;
}

}  // namespace quillora
