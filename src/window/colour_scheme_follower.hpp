#pragma once

#include <gtk/gtk.h>

#include "appearance/desktop_colour_scheme.hpp"

namespace quillora {

// Gives the program GTK's dark variant while the reader prefers dark and the light one while
// they prefer light, following every change while the book is open. The tool bar, menus, status
// bar, find bar and search window are drawn from it, and the engine takes it as the pages'
// `prefers-color-scheme`, so a page with a dark style shows that style and any other page stays
// as its author made it. Without a preference the toolkit's own setting stands, and it is put
// back when this goes away.
class ColourSchemeFollower {
public:
    ColourSchemeFollower();
    ~ColourSchemeFollower();
    ColourSchemeFollower(const ColourSchemeFollower&) = delete;
    ColourSchemeFollower& operator=(const ColourSchemeFollower&) = delete;

    ColourScheme Current() const { return desktop_.Current(); }

private:
    void Apply(ColourScheme scheme);

    GtkSettings* settings_;  // the default screen's, which GTK owns
    gboolean toolkit_choice_ = FALSE;
    DesktopColourScheme desktop_{[this](ColourScheme scheme) { Apply(scheme); }};
};

}  // namespace quillora
