#include "menu/custom_menu.hpp"

#include <gtkmm/adjustment.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separatormenuitem.h>

#include "common/event_boundary.hpp"
#include "menu/menu_bounds.hpp"
#include "menu/menu_labels.hpp"
#include "menu/menu_position.hpp"

namespace quillora {

CustomMenu::Node CustomMenu::FromModel(const MenuEntry& entry)
{
    Node node{entry.name, entry.caption, entry.has_action, entry.had_children, true, {}, nullptr};
    for (const auto& child : entry.children) {
        node.children.push_back(FromModel(child));
    }
    return node;
}

void CustomMenu::Build(const MenuEntry& model)
{
    for (Gtk::Widget* child : bar_.get_children()) {
        bar_.remove(*child);
    }
    root_ = FromModel(model);
    RenderChildren(root_, bar_);
}

Gtk::MenuItem* CustomMenu::Render(Node& node)
{
    Gtk::MenuItem* widget = node.IsSeparator() ? Gtk::manage(new Gtk::SeparatorMenuItem)
                                               : Gtk::manage(new Gtk::MenuItem("", true));
    // Shown and hidden by Refresh only: a show_all() on the window must not bring back a
    // separator that is hidden on purpose.
    widget->set_no_show_all(true);
    if (auto* label = dynamic_cast<Gtk::Label*>(widget->get_child())) {
        // A caption gives way to "…" past what a screen shows, and the bar may squeeze it to the
        // "…" alone: otherwise one long caption sets the width of its menu and of the window.
        label->set_ellipsize(Pango::ELLIPSIZE_END);
        label->set_max_width_chars(MaxShownCaptionLength);
    }
    if (!node.name.empty()) {
        widget->set_name(node.name);
    }
    widget->set_sensitive(node.enabled);
    widget->signal_select().connect(sigc::bind(sigc::mem_fun(*this, &CustomMenu::OnSelect), widget));
    if (node.has_action) {
        widget->signal_activate().connect(sigc::bind(sigc::mem_fun(*this, &CustomMenu::OnActivate), widget, node.name));
    }
    node.widget = widget;
    if (!node.children.empty()) {
        auto* submenu = Gtk::manage(new Gtk::Menu);
        widget->set_submenu(*submenu);
        if (node.has_action) {
            submenu->signal_show().connect(sigc::bind(sigc::mem_fun(*this, &CustomMenu::OnSubmenuShown), node.name));
        }
        RenderChildren(node, *submenu);
    }
    return widget;
}

void CustomMenu::RenderChildren(Node& parent, Gtk::MenuShell& shell)
{
    for (auto& child : parent.children) {
        shell.append(*Render(child));
    }
    Refresh(parent);
}

Gtk::MenuShell& CustomMenu::ShellOf(Node& parent)
{
    if (parent.widget == nullptr) {
        return bar_;
    }
    return *parent.widget->get_submenu();
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
            child.widget->set_label(labels[n]);
        }
        child.widget->set_visible(shown[n]);
    }
}

// A caption changed between "-" and text: the entry needs the other kind of widget.
void CustomMenu::Replace(Node& parent, std::size_t position)
{
    auto& shell = ShellOf(parent);
    Gtk::MenuItem* old = parent.children[position].widget;
    shell.insert(*Render(parent.children[position]), static_cast<int>(position));
    shell.remove(*old);
}

void CustomMenu::Remove(Node& parent, std::size_t position)
{
    ShellOf(parent).remove(*parent.children[position].widget);
    parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(position));
    if (parent.children.empty() && parent.widget != nullptr) {
        parent.widget->unset_submenu();
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
        node.widget->set_sensitive(node.enabled);
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
    case MenuItemChange::Delete:
        break;
    }
}

void CustomMenu::OnActivate(Gtk::MenuItem* widget, std::string name)
{
    // An item with a sub-menu answers when the sub-menu opens; a disabled one not at all.
    if (widget->get_submenu() != nullptr || !widget->is_sensitive()) {
        return;
    }
    AtEventBoundary([&] { item_chosen_.emit(name); });
}

void CustomMenu::OnSelect(Gtk::MenuItem* widget)
{
    // When the bar is wider than its window it scrolls; a menu reached with the keyboard scrolls
    // into view.
    if (widget->get_parent() != &bar_) {
        return;
    }
    auto* scroller = dynamic_cast<Gtk::ScrolledWindow*>(bar_.get_ancestor(GTK_TYPE_SCROLLED_WINDOW));
    int x = 0;
    int y = 0;
    if (scroller != nullptr && widget->translate_coordinates(bar_, 0, 0, x, y)) {
        scroller->get_hadjustment()->clamp_page(x, x + widget->get_allocated_width());
    }
}

void CustomMenu::OnSubmenuShown(std::string name)
{
    AtEventBoundary([&] { item_chosen_.emit(name); });
}

}  // namespace quillora
