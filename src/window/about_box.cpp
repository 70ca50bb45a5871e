#include "window/about_box.hpp"

#include <gdkmm/screen.h>
#include <giomm/appinfo.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/dialog.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/label.h>
#include <gtkmm/linkbutton.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <memory>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "webview/gobject_ptr.hpp"
#include "window/launch_environment.hpp"

namespace quillora {

namespace {

template <typename T>
T& Part(const Glib::RefPtr<Gtk::Builder>& builder, const char* name)
{
    T* widget = nullptr;
    builder->get_widget(name, widget);
    if (widget == nullptr) {
        throw Error(std::string("The about box description has no component ") + name);
    }
    return *widget;
}

// A line of the box: shown only when it has text.
void ShowLine(Gtk::Label& label, const std::string& text)
{
    label.set_text(text);
    label.set_visible(!text.empty());
}

// Whether the desktop has a program for the address. Only the scheme is looked at, so that
// no file or network is touched before a click; a local file is left to the click to decide.
bool DesktopCanOpen(const std::string& address)
{
    const std::unique_ptr<char, GFreeDeleter> scheme(g_uri_parse_scheme(address.c_str()));
    if (!scheme) return false;
    if (g_ascii_strcasecmp(scheme.get(), "file") == 0) return true;
    return static_cast<bool>(Gio::AppInfo::get_default_for_uri_scheme(scheme.get()));
}

void ShowLink(Gtk::LinkButton& link, const std::string& text)
{
    link.set_visible(!text.empty());
    if (text.empty()) return;
    const std::string address = AboutLinkAddress(text);
    link.set_label(text);
    link.set_uri(address);
    link.set_sensitive(DesktopCanOpen(address));
    // Announced as a link with the address it opens, not as a push button.
    AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(link.gobj()));
    atk_object_set_role(accessible, ATK_ROLE_LINK);
    atk_object_set_description(accessible, address.c_str());
}

// Opens the link through the desktop, and waits for the answer (the toolkit's own way answers
// later, when the box may be gone); a link that fails to open is disabled, without a message.
void ConnectLink(Gtk::LinkButton& link)
{
    link.signal_activate_link().connect(
        [&link] {
            AtEventBoundary([&] {
                const auto context = LaunchContextForBookPrograms(link.get_display()->gobj());
                gdk_app_launch_context_set_timestamp(GDK_APP_LAUNCH_CONTEXT(context.get()),
                                                     gtk_get_current_event_time());
                GError* raw_error = nullptr;
                if (!g_app_info_launch_default_for_uri(link.get_uri().c_str(), context.get(), &raw_error)) {
                    const GErrorPtr error(raw_error);
                    link.set_sensitive(false);
                }
            });
            return true;
        },
        /*after=*/false);
}

// The name in bold at its own size. The size goes through the label's style rather than text
// attributes, so that its widest line is counted in characters of that size: a long name wraps
// at about the width of the description below it.
void ShowName(Gtk::Label& label, const std::string& name, int app_name_size)
{
    std::string rule = "label { font-weight: bold; ";
    if (const int points = AboutNameFontPoints(app_name_size); points > 0) {
        const int own_points = std::max(1, label.get_style_context()->get_font().get_size() / PANGO_SCALE);
        label.set_max_width_chars(std::max(8, label.get_max_width_chars() * own_points / points));
        rule += "font-size: " + std::to_string(points) + "pt; ";
    }
    const auto style = Gtk::CssProvider::create();
    style->load_from_data(rule + "}");
    label.get_style_context()->add_provider(style, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    ShowLine(label, name);
}

// The box's own rules, added once for the whole screen; they only match inside the box.
void LoadStyleOnce()
{
    static const bool loaded = [] {
        const auto style = Gtk::CssProvider::create();
        style->load_from_resource("/org/quillora/about_box.css");
        Gtk::StyleContext::add_provider_for_screen(Gdk::Screen::get_default(), style,
                                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return true;
    }();
    (void)loaded;
}

}  // namespace

void AboutBox::ShowModal(const std::string& application_title)
{
    LoadStyleOnce();
    const auto builder = Gtk::Builder::create_from_resource("/org/quillora/about_box.ui");
    // A dialog from a description belongs to whoever takes it.
    const std::unique_ptr<Gtk::Dialog> dialog(&Part<Gtk::Dialog>(builder, "Sobre"));

    const std::string caption = AboutCaption(fields_, application_title);
    dialog->set_title(caption);
    Part<Gtk::HeaderBar>(builder, "Sobre_titlebar").set_title(caption);

    ShowName(Part<Gtk::Label>(builder, "Sobre_appname"), AboutShownName(fields_, application_title),
             fields_.AppNameSize);
    ShowLine(Part<Gtk::Label>(builder, "Sobre_version"), fields_.Version);
    ShowLine(Part<Gtk::Label>(builder, "Sobre_description"), AboutShownDescription(fields_));
    ShowLine(Part<Gtk::Label>(builder, "Sobre_copyright"), fields_.Copyright);
    for (const auto& [name, text] : {std::pair{"Sobre_jump", &fields_.Jump},
                                     std::pair{"Sobre_email", &fields_.EMail}}) {
        auto& link = Part<Gtk::LinkButton>(builder, name);
        ShowLink(link, *text);
        ConnectLink(link);
    }

    dialog->set_transient_for(parent_);
    // Without a visible owner the box would open wherever the window manager likes.
    dialog->set_position(parent_.get_visible() ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);
    // The first selectable text would otherwise take the focus with all its text selected.
    Part<Gtk::Button>(builder, "Sobre_ok").grab_focus();

    showing_ = dialog.get();
    dialog->run();
    showing_ = nullptr;
}

}  // namespace quillora
