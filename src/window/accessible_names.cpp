#include "window/accessible_names.hpp"

#include <atk/atk.h>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/toolbutton.h>

namespace quillora {

namespace {

void Describe(Gtk::Widget& widget, const std::string& name, AtkRole role = ATK_ROLE_INVALID)
{
    AtkObject* accessible = gtk_widget_get_accessible(widget.gobj());
    atk_object_set_name(accessible, name.c_str());
    if (role != ATK_ROLE_INVALID) {
        atk_object_set_role(accessible, role);
    }
}

}  // namespace

void NameToolButton(Gtk::ToolButton& button, const std::string& hint, const std::string& fallback)
{
    const std::string& name = hint.empty() ? fallback : hint;
    // The label is not shown (the tool bar shows icons only) but is what the button reads as.
    button.set_label(name);
    if (auto* inner = button.get_child()) {
        inner->set_can_focus(true);
        Describe(*inner, name);
    }
    Describe(button, name);
}

void DescribeStatusBar(Gtk::Box& barra_estado, Gtk::Label& title_panel, Gtk::ProgressBar& progresso)
{
    Describe(barra_estado, "Status bar", ATK_ROLE_STATUSBAR);
    Describe(title_panel, "Page title");
    Describe(progresso, "Loading progress");
}

}  // namespace quillora
