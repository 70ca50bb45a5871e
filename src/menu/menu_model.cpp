#include "menu/menu_model.hpp"

#include <algorithm>

#include "menu/menu_bounds.hpp"

namespace quillora {

namespace menu_keys {
std::string MenuCaption(int menu)
{
    return "MENU_" + std::to_string(menu);
}
std::string ItemList(int menu)
{
    return "ITENS_" + std::to_string(menu);
}
std::string SubItemList(int menu, int item)
{
    return "ITENS-|" + std::to_string(menu) + "." + std::to_string(item) + "|";
}
}  // namespace menu_keys

namespace {

MenuEntry Item(const ProfileReader& reader, const std::vector<int>& numbers, std::string caption)
{
    MenuEntry entry;
    entry.name = MenuItemName(numbers);
    entry.caption = std::move(caption);
    entry.has_action = !MenuItemAction(reader, entry.name).empty();
    return entry;
}

}  // namespace

std::vector<std::string> CutCaptionList(std::string_view value)
{
    constexpr std::string_view separator = "-@-";
    std::vector<std::string> pieces;
    for (auto at = value.find(separator); at != std::string_view::npos; at = value.find(separator)) {
        pieces.emplace_back(value.substr(0, at));
        value.remove_prefix(at + separator.size());
    }
    if (!value.empty()) {
        pieces.emplace_back(value);
    }
    return pieces;
}

std::string MenuItemName(const std::vector<int>& numbers)
{
    std::string name = "MENUx";
    for (std::size_t n = 0; n < numbers.size(); ++n) {
        name += (n == 0 ? "" : "_") + std::to_string(numbers[n]);
    }
    return name;
}

std::string MenuItemAction(const ProfileReader& reader, std::string_view item_name)
{
    return reader.Value(menu_keys::Actions, item_name);
}

namespace {

// Builds the model in its fixed order and keeps count of the entries, so that no list takes more
// than its bound or the room the whole menu has left.
class BoundedBuild {
public:
    explicit BoundedBuild(const ProfileReader& reader) : reader_(reader) {}

    BuiltMenu Run()
    {
        MenuEntry& bar = built_.bar;
        const std::size_t count =
            Take({}, reader_.KeyNames(menu_keys::Menus).size(), MenuOverflow::Bound::Menus, MaxMenus);
        for (int i = 0; i < static_cast<int>(count); ++i) {
            bar.children.push_back({{}, reader_.Value(menu_keys::Menus, menu_keys::MenuCaption(i)), false, false, {}});
        }
        bar.had_children = count > 0;
        for (int i = 0; i < static_cast<int>(count) && !full_; ++i) {
            auto& menu = bar.children[static_cast<std::size_t>(i)];
            const auto captions = CutCaptionList(reader_.Value(menu_keys::Items, menu_keys::ItemList(i)));
            const std::size_t items = Take({i}, captions.size(), MenuOverflow::Bound::List, MaxEntriesPerList);
            for (int j = 0; j < static_cast<int>(items); ++j) {
                auto& item = menu.children.emplace_back(Item(reader_, {i, j}, captions[static_cast<std::size_t>(j)]));
                if (full_) {
                    continue;  // no room left for any sub-item
                }
                const auto sub_captions =
                    CutCaptionList(reader_.Value(menu_keys::SubItems, menu_keys::SubItemList(i, j)));
                const std::size_t subs =
                    Take({i, j}, sub_captions.size(), MenuOverflow::Bound::List, MaxEntriesPerList);
                for (int k = 0; k < static_cast<int>(subs); ++k) {
                    item.children.push_back(Item(reader_, {i, j, k}, sub_captions[static_cast<std::size_t>(k)]));
                }
                item.had_children = !item.children.empty();
            }
            menu.had_children = !menu.children.empty();
        }
        return std::move(built_);
    }

private:
    // How many of the `given` entries of a list the build takes; a cut is noted.
    std::size_t Take(std::vector<int> owner, std::size_t given, MenuOverflow::Bound bound, std::size_t most)
    {
        std::size_t count = std::min(given, most);
        if (count < given) {
            built_.overflows.push_back({bound, owner, given, count});
        }
        const std::size_t room = MaxMenuEntries - entries_;
        if (count > room) {
            built_.overflows.push_back({MenuOverflow::Bound::AllEntries, std::move(owner), given, room});
            count = room;
            full_ = true;
        }
        entries_ += count;
        return count;
    }

    const ProfileReader& reader_;
    BuiltMenu built_;
    std::size_t entries_ = 0;
    // Set once a list found no room: later lists are not even read. A menu that is full to the
    // entry but has nothing more to take is not full in this sense.
    bool full_ = false;
};

// The key that gives the list of `owner`, as the definition spells it.
std::string ListKey(const std::vector<int>& owner)
{
    if (owner.empty()) {
        return "[" + std::string(menu_keys::Menus) + "]";
    }
    return owner.size() == 1 ? menu_keys::ItemList(owner[0]) : menu_keys::SubItemList(owner[0], owner[1]);
}

}  // namespace

BuiltMenu BuildBoundedMenu(const ProfileReader& reader)
{
    return BoundedBuild(reader).Run();
}

MenuEntry BuildMenuModel(const ProfileReader& reader)
{
    return BuildBoundedMenu(reader).bar;
}

std::string MenuOverflowWarning(const std::vector<MenuOverflow>& overflows)
{
    if (overflows.empty()) {
        return {};
    }
    const auto& first = overflows.front();
    std::string what;
    switch (first.bound) {
    case MenuOverflow::Bound::Menus:
        what = ListKey(first.owner) + " gives " + std::to_string(first.given) + " menus";
        break;
    case MenuOverflow::Bound::List:
        what = ListKey(first.owner) + " gives " + std::to_string(first.given) +
               (first.owner.size() == 1 ? " items" : " sub-items");
        break;
    case MenuOverflow::Bound::AllEntries:
        what = "the entries pass " + std::to_string(MaxMenuEntries) + " at " + ListKey(first.owner);
        break;
    }
    std::string text = "The custom menu holds more than the e-book shows (at most " + std::to_string(MaxMenus) +
                       " menus, " + std::to_string(MaxEntriesPerList) + " entries in a menu or a sub-menu, " +
                       std::to_string(MaxMenuEntries) + " entries in all): " + what;
    if (overflows.size() > 1) {
        text += ", and " + std::to_string(overflows.size() - 1) + " more cut short";
    }
    return text + "; the rest is left out";
}

}  // namespace quillora
