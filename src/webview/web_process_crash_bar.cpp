#include "webview/web_process_crash_bar.hpp"

namespace quillora {

namespace {

constexpr const char* CrashedText = "The page stopped: the part of the program that shows it ended unexpectedly.";
constexpr const char* OverMemoryText =
    "The page stopped: it used more memory than an e-book page may use on this computer.";

}  // namespace

WebProcessCrashBar::WebProcessCrashBar(WebBrowser& browser)
    : browser_(browser)
    , bar_(GObjectPtr<GtkWidget>::Sink(gtk_info_bar_new()))
    , text_(GTK_LABEL(gtk_label_new(nullptr)))
{
    GtkInfoBar* bar = Bar();
    gtk_info_bar_set_message_type(bar, GTK_MESSAGE_WARNING);
    gtk_widget_set_no_show_all(bar_.get(), TRUE);
    gtk_label_set_line_wrap(text_, TRUE);
    gtk_label_set_xalign(text_, 0);
    gtk_widget_show(GTK_WIDGET(text_));
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(bar)), GTK_WIDGET(text_));
    if (GtkWidget* reload = gtk_info_bar_add_button(bar, "_Reload", GTK_RESPONSE_OK)) {
        gtk_widget_set_tooltip_text(reload, "Show the page again");
    }
    // Set after the message type, which gives the bar a name of its own.
    atk_object_set_name(gtk_widget_get_accessible(bar_.get()), "Page stopped");
    response_ = Connect<void(GtkInfoBar*, gint)>(bar, "response", [this](GtkInfoBar*, gint) { Reload(); });

    GtkWidget* view = browser_.Widget();
    GtkWidget* parent = gtk_widget_get_parent(view);
    if (parent != nullptr && GTK_IS_BOX(parent)) {
        int position = 0;
        gtk_container_child_get(GTK_CONTAINER(parent), view, "position", &position, nullptr);
        gtk_box_pack_start(GTK_BOX(parent), bar_.get(), FALSE, TRUE, 0);
        gtk_box_reorder_child(GTK_BOX(parent), bar_.get(), position);
    }
    terminated_ =
        browser_.signal_web_process_terminated.Connect([this](bool over_memory_limit) { Show(over_memory_limit); });
}

void WebProcessCrashBar::Show(bool over_memory_limit)
{
    gtk_label_set_text(text_, over_memory_limit ? OverMemoryText : CrashedText);
    atk_object_set_description(gtk_widget_get_accessible(bar_.get()), gtk_label_get_text(text_));
    gtk_widget_show(bar_.get());
    if (GtkWidget* reload = gtk_info_bar_get_action_area(Bar())) {
        gtk_widget_child_focus(reload, GTK_DIR_TAB_FORWARD);
    }
}

void WebProcessCrashBar::Reload()
{
    gtk_widget_hide(bar_.get());
    browser_.Refresh();
    gtk_widget_grab_focus(browser_.Widget());
}

}  // namespace quillora
