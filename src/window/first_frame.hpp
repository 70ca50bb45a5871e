#pragma once

#include <gtk/gtk.h>

namespace quillora {

// Shows the window and runs the main loop until its first frame is on the screen, so that the
// reader sees the window before work that holds the main thread for a while (the engine setting
// up its first web process). False when the window was closed or hidden meanwhile. Gives up
// waiting after a few seconds on a display that never reports the frame.
bool ShowFirstFrame(GtkWindow* window);

}  // namespace quillora
