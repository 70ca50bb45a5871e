#include "webview/web_process_crash_bar.hpp"

#include <gtkmm/button.h>
#include <gtkmm/container.h>
#include <gtkmm/dialog.h>

#include "common/event_boundary.hpp"

namespace quillora {

namespace {

constexpr const char* CrashedText = "The page stopped: the part of the program that shows it ended unexpectedly.";
constexpr const char* OverMemoryText =
    "The page stopped: it used more memory than an e-book page may use on this computer.";

}  // namespace

WebProcessCrashBar::WebProcessCrashBar(WebBrowser& browser) : browser_(browser)
{
    bar_.set_message_type(Gtk::MESSAGE_WARNING);
    bar_.set_no_show_all(true);
    text_.set_line_wrap(true);
    text_.set_xalign(0);
    text_.show();
    dynamic_cast<Gtk::Container&>(*bar_.get_content_area()).add(text_);
    if (Gtk::Button* reload = bar_.add_button("_Reload", Gtk::RESPONSE_OK)) {
        reload->set_tooltip_text("Show the page again");
    }
    // Set after the message type, which gives the bar a name of its own.
    bar_.get_accessible()->set_name("Page stopped");
    bar_.signal_response().connect([this](int) { AtEventBoundary([&] { Reload(); }); });

    GtkWidget* view = browser_.Widget();
    GtkWidget* parent = gtk_widget_get_parent(view);
    if (parent != nullptr && GTK_IS_BOX(parent)) {
        int position = 0;
        gtk_container_child_get(GTK_CONTAINER(parent), view, "position", &position, nullptr);
        gtk_box_pack_start(GTK_BOX(parent), GTK_WIDGET(bar_.gobj()), FALSE, TRUE, 0);
        gtk_box_reorder_child(GTK_BOX(parent), GTK_WIDGET(bar_.gobj()), position);
    }
    terminated_ = browser_.signal_web_process_terminated.Connect(
        [this](bool over_memory_limit) { Show(over_memory_limit); });
}

WebProcessCrashBar::~WebProcessCrashBar() = default;

void WebProcessCrashBar::Show(bool over_memory_limit)
{
    text_.set_text(over_memory_limit ? OverMemoryText : CrashedText);
    bar_.get_accessible()->set_description(text_.get_text());
    bar_.show();
    if (Gtk::Widget* reload = bar_.get_action_area()) {
        reload->child_focus(Gtk::DIR_TAB_FORWARD);
    }
}

void WebProcessCrashBar::Reload()
{
    bar_.hide();
    browser_.Refresh();
    gtk_widget_grab_focus(browser_.Widget());
}

}  // namespace quillora
