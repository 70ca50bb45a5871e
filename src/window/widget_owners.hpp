#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "common/gobject_ptr.hpp"

namespace quillora {

// A toplevel window (a dialog, a window of a description): GTK keeps a toplevel until it is
// destroyed, which this does when it goes.
class OwnedToplevel {
public:
    explicit OwnedToplevel(GtkWidget* window) : window_(GObjectPtr<GtkWidget>::Retain(window)) {}
    OwnedToplevel(const OwnedToplevel&) = delete;
    OwnedToplevel& operator=(const OwnedToplevel&) = delete;
    ~OwnedToplevel() { gtk_widget_destroy(window_.get()); }

    [[nodiscard]] GtkWidget* get() const { return window_.get(); }
    [[nodiscard]] GtkWindow* window() const { return GTK_WINDOW(window_.get()); }

private:
    GObjectPtr<GtkWidget> window_;
};

// The children of a container in their order; none for a widget that is no container.
inline std::vector<GtkWidget*> ChildrenOf(GtkWidget* widget)
{
    std::vector<GtkWidget*> children;
    if (!GTK_IS_CONTAINER(widget)) {
        return children;
    }
    GList* list = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = list; child != nullptr; child = child->next) {
        children.push_back(GTK_WIDGET(child->data));
    }
    g_list_free(list);
    return children;
}

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

// The font the widget's style gives it now.
inline FontDescriptionPtr StyleFontOf(GtkWidget* widget)
{
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    PangoFontDescription* font = nullptr;
    gtk_style_context_get(context, gtk_style_context_get_state(context), GTK_STYLE_PROPERTY_FONT, &font, nullptr);
    return FontDescriptionPtr(font != nullptr ? font : pango_font_description_new());
}

}  // namespace quillora
