#include "window/custom_menu.hpp"

#include "menu/menu_bounds.hpp"
#include "menu/menu_labels.hpp"
#include "menu/menu_position.hpp"
#include "window/widget_owners.hpp"

namespace quillora {

CustomMenu::Node CustomMenu::FromModel(const MenuEntry& entry)
{
    Node node{entry.name, entry.caption, entry.has_action, entry.had_children, true, {}, nullptr, {}};
    for (const auto& child : entry.children) {
        node.children.push_back(FromModel(child));
    }
    return node;
}

void CustomMenu::Build(const MenuEntry& model)
{
    for (GtkWidget* child : ChildrenOf(GTK_WIDGET(bar_))) {
        gtk_container_remove(GTK_CONTAINER(bar_), child);
    }
    root_ = FromModel(model);
    RenderChildren(root_, GTK_MENU_SHELL(bar_));
    // The bar, and the scrolled window it may stand in, take room only once it has menus.
    GtkWidget* bar = GTK_WIDGET(bar_);
    const bool has_menus = !root_.children.empty();
    gtk_widget_set_visible(bar, has_menus);
    if (GtkWidget* scroller = gtk_widget_get_ancestor(bar, GTK_TYPE_SCROLLED_WINDOW)) {
        gtk_widget_set_visible(scroller, has_menus);
    }
}

GtkWidget* CustomMenu::Render(Node& node)
{
    GtkWidget* widget = node.IsSeparator() ? gtk_separator_menu_item_new() : gtk_menu_item_new_with_mnemonic("");
    GtkMenuItem* item = GTK_MENU_ITEM(widget);
    // Shown and hidden by Refresh only: a show_all() on the window must not bring back a
    // separator that is hidden on purpose.
    gtk_widget_set_no_show_all(widget, TRUE);
    if (GtkWidget* label = gtk_bin_get_child(GTK_BIN(widget)); label != nullptr && GTK_IS_LABEL(label)) {
        // A caption gives way to "…" past what a screen shows, and the bar may squeeze it to the
        // "…" alone: otherwise one long caption sets the width of its menu and of the window.
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        gtk_label_set_max_width_chars(GTK_LABEL(label), MaxShownCaptionLength);
    }
    if (!node.name.empty()) {
        gtk_widget_set_name(widget, node.name.c_str());
    }
    gtk_widget_set_sensitive(widget, node.enabled);
    node.handlers.clear();
    node.handlers.push_back(
        Connect<void(GtkMenuItem*)>(item, "select", [this](GtkMenuItem* selected) { OnSelect(selected); }));
    if (node.has_action) {
        node.handlers.push_back(Connect<void(GtkMenuItem*)>(
            item, "activate", [this, name = node.name](GtkMenuItem* activated) { OnActivate(activated, name); }));
    }
    node.widget = item;
    if (!node.children.empty()) {
        GtkWidget* submenu = gtk_menu_new();
        gtk_menu_item_set_submenu(item, submenu);
        if (node.has_action) {
            node.handlers.push_back(Connect<void(GtkWidget*)>(
                submenu, "show", [this, name = node.name](GtkWidget*) { item_chosen_.Emit(name); }));
        }
        RenderChildren(node, GTK_MENU_SHELL(submenu));
    }
    return widget;
}

void CustomMenu::RenderChildren(Node& parent, GtkMenuShell* shell)
{
    for (auto& child : parent.children) {
        gtk_menu_shell_append(shell, Render(child));
    }
    Refresh(parent);
}

GtkMenuShell* CustomMenu::ShellOf(const Node& parent) const
{
    if (parent.widget == nullptr) {
        return GTK_MENU_SHELL(bar_);
    }
    return GTK_MENU_SHELL(gtk_menu_item_get_submenu(parent.widget));
}

// Access letters are chosen among the entries of one menu, and separators show depending on
// their neighbours: both are worked out again whenever the menu changes.
void CustomMenu::Refresh(Node& parent)
{
    std::vector<std::string> captions;
    std::vector<bool> separators;
    for (const auto& child : parent.children) {
        captions.push_back(child.caption);
        separators.push_back(child.IsSeparator());
    }
    const auto labels = MenuLabels(captions);
    const auto shown = ShownEntries(separators);
    for (std::size_t n = 0; n < parent.children.size(); ++n) {
        auto& child = parent.children[n];
        if (!child.IsSeparator()) {
            gtk_menu_item_set_label(child.widget, labels[n].c_str());
        }
        gtk_widget_set_visible(GTK_WIDGET(child.widget), shown[n]);
    }
}

// A caption changed between "-" and text: the entry needs the other kind of widget.
void CustomMenu::Replace(Node& parent, std::size_t position)
{
    GtkMenuShell* shell = ShellOf(parent);
    Node& node = parent.children[position];
    GtkWidget* old = GTK_WIDGET(node.widget);
    gtk_menu_shell_insert(shell, Render(node), static_cast<int>(position));
    gtk_container_remove(GTK_CONTAINER(shell), old);
}

void CustomMenu::Remove(Node& parent, std::size_t position)
{
    gtk_container_remove(GTK_CONTAINER(ShellOf(parent)), GTK_WIDGET(parent.children[position].widget));
    parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(position));
    if (parent.children.empty() && parent.widget != nullptr) {
        gtk_menu_item_set_submenu(parent.widget, nullptr);
    }
}

void CustomMenu::ChangeItem(const MenuAddress& address, MenuItemChange change, const std::string& caption)
{
    Node& parent = MenuParentAt(root_, address);
    const int position = address.back();
    if (change == MenuItemChange::Delete) {
        CheckMenuRemoval(parent, position);
        Remove(parent, static_cast<std::size_t>(position));
        Refresh(parent);
        return;
    }
    Node& node = MenuChildAt(parent, position);
    switch (change) {
    case MenuItemChange::Disable:
    case MenuItemChange::Enable:
        node.enabled = change == MenuItemChange::Enable;
        gtk_widget_set_sensitive(GTK_WIDGET(node.widget), node.enabled);
        break;
    case MenuItemChange::Rename: {
        const bool was_separator = node.IsSeparator();
        node.caption = caption;
        if (was_separator != node.IsSeparator()) {
            Replace(parent, static_cast<std::size_t>(position));
        }
        Refresh(parent);
        break;
    }
    case MenuItemChange::Delete: break;
    }
}

void CustomMenu::OnActivate(GtkMenuItem* widget, const std::string& name)
{
    // An item with a sub-menu answers when the sub-menu opens; a disabled one not at all.
    if (gtk_menu_item_get_submenu(widget) != nullptr || !gtk_widget_is_sensitive(GTK_WIDGET(widget))) {
        return;
    }
    item_chosen_.Emit(name);
}

void CustomMenu::OnSelect(GtkMenuItem* widget)
{
    // When the bar is wider than its window it scrolls; a menu reached with the keyboard scrolls
    // into view.
    GtkWidget* bar = GTK_WIDGET(bar_);
    if (gtk_widget_get_parent(GTK_WIDGET(widget)) != bar) {
        return;
    }
    GtkWidget* scroller = gtk_widget_get_ancestor(bar, GTK_TYPE_SCROLLED_WINDOW);
    int x = 0;
    int y = 0;
    if (scroller != nullptr && gtk_widget_translate_coordinates(GTK_WIDGET(widget), bar, 0, 0, &x, &y)) {
        gtk_adjustment_clamp_page(gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(scroller)), x,
                                  x + gtk_widget_get_allocated_width(GTK_WIDGET(widget)));
    }
}

}  // namespace quillora
