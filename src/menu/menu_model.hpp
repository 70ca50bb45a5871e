#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "menu/profile_reader.hpp"

namespace quillora {

// One entry of the custom menu as the definition builds it. The root is the menu bar itself;
// its children are the top-level menus, theirs the items, and the items' the sub-items.
struct MenuEntry {
    std::string name;     // "MENUx0_2" or "MENUx0_2_1"; empty for the root and top-level menus
    std::string caption;  // as the definition gives it, "&" marks and all
    // Whether choosing the entry runs its action: decided once, at build, by a non-empty value
    // under its name in ACOES. The action itself is read at the click.
    bool has_action = false;
    // Whether the entry has ever held children. Asking for a position below an entry that never
    // had any is a different error from asking for one past the end of its children.
    bool had_children = false;
    std::vector<MenuEntry> children;

    [[nodiscard]] bool IsSeparator() const { return caption == "-"; }
};

// A list of entries that the build took only in part, to stay inside the bounds of
// menu_bounds.hpp.
struct MenuOverflow {
    enum class Bound {
        Menus,       // the menu bar: more keys in GERAL than MaxMenus
        List,        // a menu's items or an item's sub-items: more than MaxEntriesPerList
        AllEntries,  // the list at which the whole menu reached MaxMenuEntries
    };
    Bound bound = Bound::Menus;
    std::vector<int> owner;  // {} the menu bar, {i} menu i, {i, j} item j of menu i
    std::size_t given = 0;   // the entries the definition gives there
    std::size_t built = 0;   // the first of them that the build made
};

struct BuiltMenu {
    MenuEntry bar;
    std::vector<MenuOverflow> overflows;  // in the order of the build; empty when all fit
};

// The menu the definition describes, built in a fixed order: all top-level menus first (one per
// key of GERAL, captions from MENU_0, MENU_1, ...), then for each menu its items from
// MENU/ITENS_i, each item followed at once by its sub-items from SUBMENUS/ITENS-|i.j|. The build
// stops at the bounds of menu_bounds.hpp and notes each list it took only in part; once the
// whole menu is full, no later list is read.
[[nodiscard]] BuiltMenu BuildBoundedMenu(const ProfileReader& reader);
// The same menu without the notes.
[[nodiscard]] MenuEntry BuildMenuModel(const ProfileReader& reader);

// One line for the reader of the e-book's messages: the bounds, and the first list cut short.
[[nodiscard]] std::string MenuOverflowWarning(const std::vector<MenuOverflow>& overflows);

// A caption list cut at every "-@-": a piece before a separator stays even when empty, the rest
// after the last separator only when it is not empty.
[[nodiscard]] std::vector<std::string> CutCaptionList(std::string_view value);

// "MENUx" followed by the numbers joined by "_": the item's key in ACOES.
[[nodiscard]] std::string MenuItemName(const std::vector<int>& numbers);

// The action of a chosen item, as the definition holds it now (empty when it holds none).
[[nodiscard]] std::string MenuItemAction(const ProfileReader& reader, std::string_view item_name);

// Section and key names of the definition.
namespace menu_keys {
inline constexpr std::string_view Menus = "GERAL";
inline constexpr std::string_view Items = "MENU";
inline constexpr std::string_view SubItems = "SUBMENUS";
inline constexpr std::string_view Actions = "ACOES";
[[nodiscard]] std::string MenuCaption(int menu);            // "MENU_0"
[[nodiscard]] std::string ItemList(int menu);               // "ITENS_0"
[[nodiscard]] std::string SubItemList(int menu, int item);  // "ITENS-|0.2|"
}  // namespace menu_keys

}  // namespace quillora
