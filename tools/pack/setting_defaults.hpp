#pragma once

#include <string>
#include <string_view>

namespace quillora::pack {

// What the rest of a source says that some defaults follow.
struct DefaultContext {
    std::string title;      // the book's title (after its own default)
    bool has_menu = false;  // the source has a custom menu definition
};

// The value, in source form, that a setting gets when the source leaves it out. Stored paths
// are given relative to the source folder, as an author would write them.
std::string DefaultValue(int index, const DefaultContext& context);

}  // namespace quillora::pack
