#include "window/work_area.hpp"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>

namespace quillora {

WorkArea PrimaryWorkArea()
{
    const auto display = Gdk::Display::get_default();
    auto monitor = display->get_primary_monitor();
    if (!monitor) {
        monitor = display->get_monitor(0);
    }
    if (!monitor) {
        return {};
    }
    Gdk::Rectangle area;
    monitor->get_workarea(area);
    return {area.get_x(), area.get_y(), area.get_width(), area.get_height()};
}

}  // namespace quillora
