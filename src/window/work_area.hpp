#pragma once

#include <glibmm/refptr.h>

#include "window/window_placement.hpp"

namespace Gdk {
class Monitor;
}

namespace quillora {

// The primary monitor, or the first one when none is marked primary; empty when there is none.
Glib::RefPtr<Gdk::Monitor> PrimaryMonitor();

// The work area of the primary monitor: the part that windows may cover, without panels and
// docks. Empty when there is no monitor.
WorkArea PrimaryWorkArea();

}  // namespace quillora
