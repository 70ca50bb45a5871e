#include "screen_size.hpp"

#include <algorithm>
#include <memory>
#include <string>

// Before Xlib, whose macros (None, Status, Bool) would clash with them.
#include "gui_test_support.hpp"
#include "window/work_area.hpp"

#include <X11/extensions/Xrandr.h>
#include <gdk/gdkx.h>

namespace quillora::test {

namespace {

struct ResourcesFree {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct CrtcInfoFree {
    void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
struct ModeInfoFree {
    void operator()(XRRModeInfo* info) const { XRRFreeModeInfo(info); }
};

// The mode of that size the server knows, or a new one given to `output`.
RRMode ModeOfSize(Display* display, Window root, XRRScreenResources& resources, RROutput output, PixelSize size)
{
    for (int i = 0; i < resources.nmode; ++i) {
        const XRRModeInfo& mode = resources.modes[i];
        if (static_cast<int>(mode.width) == size.width && static_cast<int>(mode.height) == size.height) {
            XRRAddOutputMode(display, output, mode.id);
            return mode.id;
        }
    }
    std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
    const std::unique_ptr<XRRModeInfo, ModeInfoFree> info(
        XRRAllocModeInfo(name.c_str(), static_cast<int>(name.size())));
    info->width = static_cast<unsigned int>(size.width);
    info->height = static_cast<unsigned int>(size.height);
    const RRMode mode = XRRCreateMode(display, root, info.get());
    XRRAddOutputMode(display, output, mode);
    return mode;
}

// Physical size for 96 dots per inch, so that the fonts keep their size.
int Millimetres(int pixels)
{
    return std::max(pixels * 254 / 960, 1);
}

}  // namespace

PixelSize ScreenSize()
{
    Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
    const int screen = DefaultScreen(display);
    return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

bool SetScreenSize(PixelSize size)
{
    GdkDisplay* gdk_display = gdk_display_get_default();
    Display* display = gdk_x11_display_get_xdisplay(gdk_display);
    const Window root = DefaultRootWindow(display);
    gdk_x11_display_error_trap_push(gdk_display);
    {
        const std::unique_ptr<XRRScreenResources, ResourcesFree> resources(XRRGetScreenResources(display, root));
        if (!resources || resources->ncrtc < 1 || resources->noutput < 1) {
            gdk_x11_display_error_trap_pop_ignored(gdk_display);
            return false;
        }
        RROutput output = resources->outputs[0];
        const RRCrtc crtc = resources->crtcs[0];
        const RRMode mode = ModeOfSize(display, root, *resources, output, size);
        const PixelSize screen = ScreenSize();
        // The monitor always lies within the screen: the screen grows before it and shrinks after.
        const PixelSize larger{std::max(size.width, screen.width), std::max(size.height, screen.height)};
        XRRSetScreenSize(display, root, larger.width, larger.height, Millimetres(larger.width),
                         Millimetres(larger.height));
        XRRSetCrtcConfig(display, resources.get(), crtc, CurrentTime, 0, 0, mode, RR_Rotate_0, &output, 1);
        XRRSetScreenSize(display, root, size.width, size.height, Millimetres(size.width), Millimetres(size.height));
    }
    if (gdk_x11_display_error_trap_pop(gdk_display) != 0) {
        return false;
    }
    return RunUntil([&] {
        const WorkArea area = PrimaryWorkArea();
        return area.width == size.width && area.height == size.height;
    });
}

}  // namespace quillora::test
