#include "window/toolkit_setup.hpp"

#include <cstdio>
#include <string>

#include <webkit2/webkit2.h>

#include "book/app_id.hpp"
#include "book/self_path.hpp"
#include "common/error.hpp"
#include "common/gobject_ptr.hpp"

extern "C" GResource* quillora_resources_get_resource(void);
extern "C" GResource* quillora_rendered_icons_get_resource(void);

namespace quillora {

namespace {

// What is wrong, as the reader can check it: the variables that name a display.
std::string MissingDisplayReason()
{
    const char* x11 = g_getenv("DISPLAY");
    const char* wayland = g_getenv("WAYLAND_DISPLAY");
    const auto given = [](const char* value) { return value != nullptr && *value != '\0'; };
    if (!given(x11) && !given(wayland)) {
        return "neither DISPLAY nor WAYLAND_DISPLAY names a display";
    }
    std::string named;
    if (given(wayland)) named = std::string("WAYLAND_DISPLAY=\"") + wayland + '"';
    if (given(x11)) named += std::string(named.empty() ? "" : " or ") + "DISPLAY=\"" + x11 + '"';
    return "the display named by " + named + " cannot be opened";
}

}  // namespace

void NameProgramAfterBook(const std::string& book_path)
{
    const GCharPtr file_name(g_path_get_basename(book_path.c_str()));
    const std::string id = BookAppId(file_name.get());
    g_set_prgname(id.c_str());
    // GDK would capitalise the class; a launcher's StartupWMClass then matches both halves.
    gdk_set_program_class(id.c_str());
}

bool OpenDisplay(int& argc, char**& argv)
{
    // Before GTK reads the program's name for itself from the command line.
    std::string book_path;
    try {
        book_path = ProgramPath();
    } catch (const IoError&) {
        // Without its own path the book opens nothing anyway and says so later; GTK keeps its name.
    }
    if (!book_path.empty()) {
        NameProgramAfterBook(book_path);
    }
    if (gtk_init_check(&argc, &argv)) {
        // GTK's start derives a capitalised class of its own from the name.
        gdk_set_program_class(g_get_prgname());
        return true;
    }
    const std::string program = argc > 0 && argv[0] != nullptr ? argv[0] : "quillora";
    const GCharPtr name(g_path_get_basename(program.c_str()));
    std::fprintf(stderr, "%s: this e-book needs a graphical desktop: %s\n", name.get(), MissingDisplayReason().c_str());
    return false;
}

void PrepareToolkit()
{
    static bool prepared = false;
    if (prepared) return;
    prepared = true;

    // Referencing the resource bundles keeps them (and their registering constructors) linked in.
    (void)quillora_resources_get_resource();
    (void)quillora_rendered_icons_get_resource();
    // The description names WebKitWebView; its type must exist before the builder reads it.
    g_type_ensure(WEBKIT_TYPE_WEB_VIEW);

    gtk_icon_theme_add_resource_path(gtk_icon_theme_get_default(), "/org/quillora/icons");

    const auto base_style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
    gtk_css_provider_load_from_resource(base_style.get(), "/org/quillora/base.css");
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(base_style.get()),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace quillora
