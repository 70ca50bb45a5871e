#include "window/about_box.hpp"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "window/builder_parts.hpp"
#include "window/launch_environment.hpp"
#include "window/widget_owners.hpp"

namespace quillora {

namespace {

template <typename T>
T* Part(GtkBuilder* builder, const char* name)
{
    return reinterpret_cast<T*>(RequirePart(builder, name, "The about box description"));
}

// A line of the box: shown only when it has text.
void ShowLine(GtkLabel* label, const std::string& text)
{
    gtk_label_set_text(label, text.c_str());
    gtk_widget_set_visible(GTK_WIDGET(label), !text.empty());
}

// Whether the desktop has a program for the address. Only the scheme is looked at, so that
// no file or network is touched before a click; a local file is left to the click to decide.
bool DesktopCanOpen(const std::string& address)
{
    const GCharPtr scheme(g_uri_parse_scheme(address.c_str()));
    if (!scheme) return false;
    if (g_ascii_strcasecmp(scheme.get(), "file") == 0) return true;
    return static_cast<bool>(GObjectPtr<GAppInfo>::Adopt(g_app_info_get_default_for_uri_scheme(scheme.get())));
}

void ShowLink(GtkLinkButton* link, const std::string& text)
{
    gtk_widget_set_visible(GTK_WIDGET(link), !text.empty());
    if (text.empty()) return;
    const std::string address = AboutLinkAddress(text);
    gtk_button_set_label(GTK_BUTTON(link), text.c_str());
    gtk_link_button_set_uri(link, address.c_str());
    gtk_widget_set_sensitive(GTK_WIDGET(link), DesktopCanOpen(address));
    // Announced as a link with the address it opens, not as a push button.
    AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(link));
    atk_object_set_role(accessible, ATK_ROLE_LINK);
    atk_object_set_description(accessible, address.c_str());
}

// Opens the link through the desktop, and waits for the answer (the toolkit's own way answers
// later, when the box may be gone); a link that fails to open is disabled, without a message.
SignalConnection ConnectLink(GtkLinkButton* link)
{
    return Connect<gboolean(GtkLinkButton*)>(link, "activate-link", [](GtkLinkButton* button) -> gboolean {
        const auto context = LaunchContextForBookPrograms(gtk_widget_get_display(GTK_WIDGET(button)));
        gdk_app_launch_context_set_timestamp(GDK_APP_LAUNCH_CONTEXT(context.get()), gtk_get_current_event_time());
        GError* raw_error = nullptr;
        if (!g_app_info_launch_default_for_uri(gtk_link_button_get_uri(button), G_APP_LAUNCH_CONTEXT(context.get()),
                                               &raw_error)) {
            const GErrorPtr error(raw_error);
            gtk_widget_set_sensitive(GTK_WIDGET(button), FALSE);
        }
        return TRUE;
    });
}

// A style sheet that the program writes itself; a fault in it is the program's.
GObjectPtr<GtkCssProvider> StyleOf(const std::string& rules)
{
    auto style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
    GError* raw_error = nullptr;
    if (!gtk_css_provider_load_from_data(style.get(), rules.data(), static_cast<gssize>(rules.size()), &raw_error)) {
        const GErrorPtr error(raw_error);
        throw Error(std::string("The about box's style is broken: ") + error->message);
    }
    return style;
}

// The label's own font size in points.
int FontPoints(GtkLabel* label)
{
    return pango_font_description_get_size(StyleFontOf(GTK_WIDGET(label)).get()) / PANGO_SCALE;
}

// The name in bold at its own size. The size goes through the label's style rather than text
// attributes, so that its widest line is counted in characters of that size: a long name wraps
// at about the width of the description below it.
void ShowName(GtkLabel* label, const std::string& name, int app_name_size)
{
    std::string rule = "label { font-weight: bold; ";
    if (const int points = AboutNameFontPoints(app_name_size); points > 0) {
        const int own_points = std::max(1, FontPoints(label));
        gtk_label_set_max_width_chars(label, std::max(8, gtk_label_get_max_width_chars(label) * own_points / points));
        rule += "font-size: " + std::to_string(points) + "pt; ";
    }
    const auto style = StyleOf(rule + "}");
    gtk_style_context_add_provider(gtk_widget_get_style_context(GTK_WIDGET(label)), GTK_STYLE_PROVIDER(style.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    ShowLine(label, name);
}

// The box's own rules, added once for the whole screen; they only match inside the box.
void LoadStyleOnce()
{
    static const bool loaded = [] {
        const auto style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
        gtk_css_provider_load_from_resource(style.get(), "/org/quillora/about_box.css");
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style.get()),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return true;
    }();
    (void)loaded;
}

}  // namespace

void AboutBox::ShowModal(const std::string& application_title)
{
    LoadStyleOnce();
    const auto builder = GObjectPtr<GtkBuilder>::Adopt(gtk_builder_new_from_resource("/org/quillora/about_box.ui"));
    const OwnedToplevel owned(Part<GtkWidget>(builder.get(), "Sobre"));
    GtkDialog* const dialog = GTK_DIALOG(owned.get());

    const std::string caption = AboutCaption(fields_, application_title);
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    gtk_header_bar_set_title(Part<GtkHeaderBar>(builder.get(), "Sobre_titlebar"), caption.c_str());

    ShowName(Part<GtkLabel>(builder.get(), "Sobre_appname"), AboutShownName(fields_, application_title),
             fields_.AppNameSize);
    ShowLine(Part<GtkLabel>(builder.get(), "Sobre_version"), fields_.Version);
    ShowLine(Part<GtkLabel>(builder.get(), "Sobre_description"), AboutShownDescription(fields_));
    ShowLine(Part<GtkLabel>(builder.get(), "Sobre_copyright"), fields_.Copyright);
    std::vector<SignalConnection> links;
    for (const auto& [name, text] :
         {std::pair{"Sobre_jump", &fields_.Jump}, std::pair{"Sobre_email", &fields_.EMail}}) {
        auto* link = Part<GtkLinkButton>(builder.get(), name);
        ShowLink(link, *text);
        links.push_back(ConnectLink(link));
    }

    gtk_window_set_transient_for(GTK_WINDOW(dialog), parent_);
    // Without a visible owner the box would open wherever the window manager likes.
    gtk_window_set_position(GTK_WINDOW(dialog), gtk_widget_get_visible(GTK_WIDGET(parent_))
                                                    ? GTK_WIN_POS_CENTER_ON_PARENT
                                                    : GTK_WIN_POS_CENTER);
    // The first selectable text would otherwise take the focus with all its text selected.
    gtk_widget_grab_focus(Part<GtkWidget>(builder.get(), "Sobre_ok"));

    showing_ = dialog;
    gtk_dialog_run(dialog);
    showing_ = nullptr;
}

}  // namespace quillora
