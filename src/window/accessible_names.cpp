#include "window/accessible_names.hpp"

#include <atk/atk.h>

namespace quillora {

namespace {

void Describe(GtkWidget* widget, const std::string& name, AtkRole role = ATK_ROLE_INVALID)
{
    AtkObject* accessible = gtk_widget_get_accessible(widget);
    atk_object_set_name(accessible, name.c_str());
    if (role != ATK_ROLE_INVALID) {
        atk_object_set_role(accessible, role);
    }
}

}  // namespace

void NameToolButton(GtkToolButton* button, const std::string& hint, const std::string& fallback)
{
    const std::string& name = hint.empty() ? fallback : hint;
    // The label is not shown (the tool bar shows icons only) but is what the button reads as.
    gtk_tool_button_set_label(button, name.c_str());
    if (GtkWidget* inner = gtk_bin_get_child(GTK_BIN(button))) {
        gtk_widget_set_can_focus(inner, TRUE);
        Describe(inner, name);
    }
    Describe(GTK_WIDGET(button), name);
}

void DescribeStatusBar(GtkWidget* barra_estado, GtkWidget* title_panel, GtkWidget* progresso)
{
    Describe(barra_estado, "Status bar", ATK_ROLE_STATUSBAR);
    Describe(title_panel, "Page title");
    Describe(progresso, "Loading progress");
}

}  // namespace quillora
