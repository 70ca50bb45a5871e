#pragma once

namespace quillora {

// Everything GTK needs once before the window description is built: the compiled-in resources,
// the engine's widget type, the images as an icon theme (so they render sharp at any scale),
// and the base style sheet. Safe to call more than once.
void PrepareToolkit();

}  // namespace quillora
