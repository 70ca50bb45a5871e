#pragma once

#include <cstddef>

namespace quillora {

// What one custom menu may hold. A real book stays far inside these; past them the widgets alone
// take gigabytes and the window tens of seconds to appear. The definition has three levels and no
// more (menus on the bar, their items, the items' sub-items), so its depth needs no bound of its
// own. The e-book builds entries in the model's order up to the bounds and leaves out the rest;
// the authoring tool refuses a definition that goes past them.
inline constexpr std::size_t MaxMenus = 100;           // top-level menus on the menu bar
inline constexpr std::size_t MaxEntriesPerList = 500;  // items of a menu, sub-items of an item
inline constexpr std::size_t MaxMenuEntries = 5000;    // menus, items and sub-items together

// The characters of a caption the menu shows, about 800 pixels in the usual fonts: the rest of a
// longer one gives way to "…", so that no caption makes its menu or the window wider than a
// screen.
inline constexpr int MaxShownCaptionLength = 100;

}  // namespace quillora
