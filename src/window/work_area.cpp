#include "window/work_area.hpp"

namespace quillora {

GdkMonitor* PrimaryMonitor()
{
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) {
        return nullptr;
    }
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

WorkArea PrimaryWorkArea()
{
    GdkMonitor* monitor = PrimaryMonitor();
    if (monitor == nullptr) {
        return {};
    }
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.width, area.height};
}

}  // namespace quillora
