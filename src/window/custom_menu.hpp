#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "actions/action_host.hpp"
#include "common/event_signal.hpp"
#include "common/signal_connection.hpp"
#include "menu/menu_model.hpp"

namespace quillora {

// Shows a built menu model in a menu bar it does not own and carries out the menu commands on
// it. Every item widget is named after its item ("MENUx0_2"), so that tests and assistive
// technologies find it; captions are shown with their access letters (menu_labels.hpp), and
// separators that would stand at an end of a menu or next to another are hidden, not removed,
// so that positions stay as the model counts them. Captions past MaxShownCaptionLength end in "…";
// in a scrolled window the bar scrolls to the menu the reader selects.
class CustomMenu {
public:
    explicit CustomMenu(GtkMenuBar* bar) : bar_(bar) {}
    CustomMenu(const CustomMenu&) = delete;
    CustomMenu& operator=(const CustomMenu&) = delete;

    // Removes every item of the bar, then adds the model's menus, items and sub-items. The bar
    // shows while it has menus, and so does a scrolled window it stands in.
    void Build(const MenuEntry& model);

    // Disables, enables, renames or removes the entry at `address` by its position now (see
    // menu_position.hpp for the errors). An entry whose last sub-item is removed becomes an
    // ordinary item again: choosing it then runs its action, if it has one.
    void ChangeItem(const MenuAddress& address, MenuItemChange change, const std::string& caption);

    // The name of an item with an action, each time it is chosen or its sub-menu opens. Emitted
    // inside the event boundary: a handler may throw Error, which is reported there.
    EventSignal<const std::string&>& signal_item_chosen() { return item_chosen_; }

private:
    struct Node {
        std::string name;
        std::string caption;
        bool has_action = false;
        bool had_children = false;
        bool enabled = true;
        std::vector<Node> children;
        GtkMenuItem* widget = nullptr;           // owned by the shell it is in
        std::vector<SignalConnection> handlers;  // go with the node, or with this menu

        [[nodiscard]] bool IsSeparator() const { return caption == "-"; }
    };

    static Node FromModel(const MenuEntry& entry);
    GtkWidget* Render(Node& node);
    void RenderChildren(Node& parent, GtkMenuShell* shell);
    GtkMenuShell* ShellOf(const Node& parent) const;
    void Refresh(Node& parent);
    void Replace(Node& parent, std::size_t position);
    void Remove(Node& parent, std::size_t position);

    void OnActivate(GtkMenuItem* widget, const std::string& name);
    void OnSelect(GtkMenuItem* widget);

    GtkMenuBar* bar_;
    Node root_;
    EventSignal<const std::string&> item_chosen_;
};

}  // namespace quillora
