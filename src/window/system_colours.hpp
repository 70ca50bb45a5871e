#pragma once

#include <gtk/gtk.h>

#include "appearance/caption_geometry.hpp"

namespace quillora {

// The toolkit's system colours (clBtnFace, clActiveCaption, ...) taken from the GTK theme:
// one table maps each system colour index to a named theme colour, with a classic fallback
// for themes that do not define that name.
Rgb ThemeSystemColour(GtkStyleContext* context, int index);

}  // namespace quillora
