#include "window/message_boxes.hpp"

#include <algorithm>
#include <cstdint>

#include <atk/atk.h>
#include <glib.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>
#include <gtkmm/window.h>

#include "payload/text_encoding.hpp"
#include "window/message_text.hpp"
#include "window/work_area.hpp"

namespace quillora {

namespace {

// Room the box keeps around its text for the caption, the icon, the margins and the OK button.
constexpr int FrameAllowanceX = 120;
constexpr int FrameAllowanceY = 200;
constexpr int TextWidth = 440;
constexpr int MinTextHeight = 60;

// The text the way GTK can show it: what is not UTF-8 becomes replacement characters.
std::string DisplayableText(const std::string& text)
{
    return WithParagraphBreaks(WithValidUtf8(text));
}

// A rough height of the text wrapped at `width`, from the font's average character width.
std::int64_t EstimatedHeight(Gtk::TextView& view, const std::string& text, int width)
{
    const Pango::FontMetrics metrics =
        view.get_pango_context()->get_metrics(view.get_style_context()->get_font());
    const std::int64_t char_width = std::max(metrics.get_approximate_char_width() / PANGO_SCALE, 1);
    const std::int64_t per_line = std::max<std::int64_t>(width / char_width, 1);
    const std::int64_t line_height = std::max((metrics.get_ascent() + metrics.get_descent()) / PANGO_SCALE, 1);
    std::int64_t lines = 0;
    std::int64_t run = 0;
    for (char c : text) {
        if (c == '\n') {
            lines += run / per_line + 1;
            run = 0;
        } else {
            ++run;
        }
    }
    lines += run / per_line + 1;
    return lines * line_height;
}

// The message in a read-only view that wraps at the box's width and scrolls when it is taller
// than the screen allows. A text view lays out only what shows, so a huge text opens at once.
void AddMessageText(Gtk::MessageDialog& dialog, Gtk::ScrolledWindow& scroller, Gtk::TextView& view,
                    const std::string& text)
{
    const WorkArea area = PrimaryWorkArea();
    view.set_editable(false);
    view.set_cursor_visible(false);
    view.set_wrap_mode(Gtk::WRAP_WORD_CHAR);
    view.get_buffer()->set_text(text);
    // Drawn like the box's own text, not like an input field.
    const auto style = Gtk::CssProvider::create();
    style->load_from_data("textview, textview text { background-color: transparent; }");
    view.get_style_context()->add_provider(style, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);

    const int width = std::clamp(area.width - FrameAllowanceX, 1, TextWidth);
    const int max_height = std::max(area.height - FrameAllowanceY, MinTextHeight);
    scroller.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scroller.set_min_content_width(width);
    scroller.set_max_content_height(max_height);
    scroller.set_propagate_natural_height(true);
    // The view lays out the lines below the first screen later; a box for a text that surely
    // fills it is made full height at once, so that OK does not move under the reader's pointer.
    if (EstimatedHeight(view, text, width) >= max_height) {
        scroller.set_min_content_height(max_height);
    }
    scroller.add(view);
    scroller.show_all();

    // The dialog's own label would lay the whole text out at once and grow without bound.
    for (Gtk::Widget* child : dialog.get_message_area()->get_children()) child->hide();
    dialog.get_message_area()->pack_start(scroller, Gtk::PACK_EXPAND_WIDGET);
}

void ShowModal(Gtk::Window* owner, const std::string& caption, const std::string& text,
               Gtk::MessageType type)
{
    Gtk::MessageDialog dialog("", /*use_markup=*/false, type, Gtk::BUTTONS_OK, /*modal=*/true);
    dialog.set_title(caption);
    const std::string shown = DisplayableText(text);
    Gtk::ScrolledWindow scroller;
    Gtk::TextView view;
    AddMessageText(dialog, scroller, view, shown);
    // Announced like the box's own text would be.
    atk_object_set_description(gtk_widget_get_accessible(GTK_WIDGET(dialog.gobj())), shown.c_str());
    if (owner != nullptr) {
        dialog.set_transient_for(*owner);
    }
    // Without a visible owner the dialog would open wherever the window manager likes.
    dialog.set_position(owner != nullptr && owner->get_visible() ? Gtk::WIN_POS_CENTER_ON_PARENT
                                                                 : Gtk::WIN_POS_CENTER);
    // OK has the keyboard, so Enter and Escape close the box as before; Tab reaches the text.
    dialog.set_focus(*dialog.get_widget_for_response(Gtk::RESPONSE_OK));
    dialog.run();
}

}  // namespace

void ShowWarningBox(Gtk::Window* owner, const std::string& caption, const std::string& text)
{
    ShowModal(owner, caption, text, Gtk::MESSAGE_WARNING);
}

void ShowErrorReport(Gtk::Window* owner, const std::string& title, const std::string& text)
{
    ShowModal(owner, title, text, Gtk::MESSAGE_ERROR);
}

}  // namespace quillora
