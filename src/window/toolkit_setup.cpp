#include "window/toolkit_setup.hpp"

#include <gdkmm/screen.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>
#include <webkit2/webkit2.h>

extern "C" GResource* quillora_resources_get_resource(void);

namespace quillora {

void PrepareToolkit()
{
    static bool prepared = false;
    if (prepared) return;
    prepared = true;

    // Referencing the resource bundle keeps it (and its registering constructor) linked in.
    (void)quillora_resources_get_resource();
    // The description names WebKitWebView; its type must exist before the builder reads it.
    g_type_ensure(WEBKIT_TYPE_WEB_VIEW);

    Gtk::IconTheme::get_default()->add_resource_path("/org/quillora/icons");

    const auto base_style = Gtk::CssProvider::create();
    base_style->load_from_resource("/org/quillora/base.css");
    Gtk::StyleContext::add_provider_for_screen(Gdk::Screen::get_default(), base_style,
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace quillora
