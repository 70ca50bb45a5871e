#include "window/work_area.hpp"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>

namespace quillora {

Glib::RefPtr<Gdk::Monitor> PrimaryMonitor()
{
    const auto display = Gdk::Display::get_default();
    auto monitor = display->get_primary_monitor();
    return monitor ? monitor : display->get_monitor(0);
}

WorkArea PrimaryWorkArea()
{
    const auto monitor = PrimaryMonitor();
    if (!monitor) {
        return {};
    }
    Gdk::Rectangle area;
    monitor->get_workarea(area);
    return {area.get_x(), area.get_y(), area.get_width(), area.get_height()};
}

}  // namespace quillora
