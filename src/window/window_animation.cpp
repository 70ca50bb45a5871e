#include "window/window_animation.hpp"

#include <memory>
#include <thread>
#include <vector>

#include <cairo.h>
#include <gtkmm/main.h>
#include <gtkmm/window.h>

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
    return RegionPtr(cairo_region_create_rectangles(cairo_rectangles.data(),
                                                    static_cast<int>(cairo_rectangles.size())));
}

// Watches a signal only while the effect plays.
struct ScopedConnection {
    sigc::connection connection;
    ~ScopedConnection() { connection.disconnect(); }
};

// Lets the window system show the new shape before the pause.
void FlushAndWait()
{
    while (Gtk::Main::events_pending()) {
        Gtk::Main::iteration(false);
    }
    gdk_display_flush(gdk_display_get_default());
    std::this_thread::sleep_for(WindowAnimation::StepPause);
}

}  // namespace

bool WindowAnimation::Play(Gtk::Window& window, AnimationEffect effect)
{
    // The steps let the main loop run, so the reader may close the window meanwhile. Left to
    // GTK that would only hide it until the loop starts; here it ends the effect, and the caller
    // ends the program.
    bool closed = false;
    const ScopedConnection close_watch{window.signal_delete_event().connect([&closed](GdkEventAny*) {
        closed = true;
        return true;  // the caller decides what a close means now
    })};

    int width = 0;
    int height = 0;
    window.get_size(width, height);
    const auto regions = EffectRegions(effect, width, height);

    std::vector<PixelRect> rectangles;
    const auto apply = [&](const ShapeRegion& region) {
        RasteriseRegion(region, rectangles);
        const RegionPtr shape = ToCairoRegion(rectangles);
        gtk_widget_shape_combine_region(GTK_WIDGET(window.gobj()), shape.get());
    };
    // The first shape is set before the window shows, so that an appearing window does not
    // flash whole before its first, smallest step.
    if (!regions.empty()) apply(regions.front());
    window.show();
    last_step_count_ = 0;
    for (const auto& region : regions) {
        if (closed) break;
        apply(region);
        ++last_step_count_;
        FlushAndWait();
    }

    if (closed || effect.direction == AnimationDirection::Disappear) {
        window.hide();
    }
    gtk_widget_shape_combine_region(GTK_WIDGET(window.gobj()), nullptr);
    return !closed;
}

}  // namespace quillora
