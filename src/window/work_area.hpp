#pragma once

#include <gdk/gdk.h>

#include "appearance/window_placement.hpp"

namespace quillora {

// The primary monitor, or the first one when none is marked primary; null when there is none.
// The display owns it.
GdkMonitor* PrimaryMonitor();

// The work area of the primary monitor: the part that windows may cover, without panels and
// docks. Empty when there is no monitor.
WorkArea PrimaryWorkArea();

}  // namespace quillora
