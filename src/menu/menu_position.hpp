#pragma once

#include <cstddef>

#include "actions/action_host.hpp"
#include "common/error.hpp"

namespace quillora {

// Menu entries are found by position, the way the classic toolkit indexes them, and fail with
// its two texts:
// - below an entry that never had children, any position is "Menu index out of range";
// - past the children an entry has or had, it is "List index out of bounds (%d)";
// - removing a position that is not there is "Menu index out of range" (the toolkit's
//   delete checks its index itself).
// Node is any tree node with `children` (a vector of Node) and `had_children`.
inline constexpr const char* MenuIndexOutOfRangeText = "Menu index out of range";

template <typename Node>
Node& MenuChildAt(Node& parent, int position)
{
    if (!parent.had_children) {
        throw Error(MenuIndexOutOfRangeText);
    }
    if (position < 0 || static_cast<std::size_t>(position) >= parent.children.size()) {
        throw ListIndexOutOfBounds(position);
    }
    return parent.children[static_cast<std::size_t>(position)];
}

// The parent of the entry at `address` (the root for an address of one number).
template <typename Node>
Node& MenuParentAt(Node& root, const MenuAddress& address)
{
    if (address.empty()) {
        throw Error(MenuIndexOutOfRangeText);
    }
    Node* node = &root;
    for (std::size_t n = 0; n + 1 < address.size(); ++n) {
        node = &MenuChildAt(*node, address[n]);
    }
    return *node;
}

template <typename Node>
Node& MenuEntryAt(Node& root, const MenuAddress& address)
{
    Node& parent = MenuParentAt(root, address);  // checks the address before its last number is read
    return MenuChildAt(parent, address.back());
}

// Checks that `position` may be removed from `parent`; the caller removes it (and whatever
// shows it).
template <typename Node>
void CheckMenuRemoval(const Node& parent, int position)
{
    if (!parent.had_children || position < 0 || static_cast<std::size_t>(position) >= parent.children.size()) {
        throw Error(MenuIndexOutOfRangeText);
    }
}

}  // namespace quillora
