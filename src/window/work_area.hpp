#pragma once

#include "window/window_placement.hpp"

namespace quillora {

// The work area of the primary monitor (the first one when none is marked primary): the part
// that windows may cover, without panels and docks. Empty when there is no monitor.
WorkArea PrimaryWorkArea();

}  // namespace quillora
