#include "menu/menu_model.hpp"

namespace quillora {

namespace menu_keys {
std::string MenuCaption(int menu) { return "MENU_" + std::to_string(menu); }
std::string ItemList(int menu) { return "ITENS_" + std::to_string(menu); }
std::string SubItemList(int menu, int item)
{
    return "ITENS-|" + std::to_string(menu) + "." + std::to_string(item) + "|";
}
}  // namespace menu_keys

namespace {

MenuEntry Item(const ProfileReader& reader, std::vector<int> numbers, std::string caption)
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

MenuEntry BuildMenuModel(const ProfileReader& reader)
{
    MenuEntry bar;
    const int count = static_cast<int>(reader.KeyNames(menu_keys::Menus).size());
    for (int i = 0; i < count; ++i) {
        bar.children.push_back({{}, reader.Value(menu_keys::Menus, menu_keys::MenuCaption(i)), false, false, {}});
    }
    bar.had_children = count > 0;
    for (int i = 0; i < count; ++i) {
        auto& menu = bar.children[static_cast<std::size_t>(i)];
        const auto captions = CutCaptionList(reader.Value(menu_keys::Items, menu_keys::ItemList(i)));
        for (int j = 0; j < static_cast<int>(captions.size()); ++j) {
            auto& item = menu.children.emplace_back(Item(reader, {i, j}, captions[static_cast<std::size_t>(j)]));
            const auto sub_captions = CutCaptionList(reader.Value(menu_keys::SubItems, menu_keys::SubItemList(i, j)));
            for (int k = 0; k < static_cast<int>(sub_captions.size()); ++k) {
                item.children.push_back(Item(reader, {i, j, k}, sub_captions[static_cast<std::size_t>(k)]));
            }
            item.had_children = !item.children.empty();
        }
        menu.had_children = !menu.children.empty();
    }
    return bar;
}

}  // namespace quillora
