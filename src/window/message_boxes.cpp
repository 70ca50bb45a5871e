#include "window/message_boxes.hpp"

#include <algorithm>
#include <limits>

#include <atk/atk.h>
#include <glib.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>
#include <gtkmm/window.h>
#include <pangomm/layout.h>

#include "payload/text_encoding.hpp"
#include "window/message_box_width.hpp"
#include "window/message_text.hpp"
#include "window/work_area.hpp"

namespace quillora {

namespace {

// Room the box keeps around its text for the icon, the margins and the OK button.
constexpr int FrameAllowanceX = 120;
constexpr int FrameAllowanceY = 200;
constexpr int MinTextHeight = 60;
// Line lengths in average characters, as GNOME's message dialogs have them: a short text still
// makes a box of some width, a longer one wraps at a length that reads well.
constexpr int ShortestLineChars = 40;
constexpr int ReadableLineChars = 56;
// A text longer than this is measured by its beginning only: it fills the tallest box anyway.
constexpr std::size_t MeasuredBytes = 64 * 1024;
// A text view lays its lines out a pixel narrower than it is, keeping room for the cursor.
constexpr int CursorRoom = 1;

// The text the way GTK can show it: what is not UTF-8 becomes replacement characters.
std::string DisplayableText(const std::string& text)
{
    return WithParagraphBreaks(WithValidUtf8(text));
}

// The text's size request, from its layout in the view's own font: the box gets its natural
// width from the text, which a wrapping view alone would not give it.
struct TextSize {
    int width = 0;
    int height = 0;
};

TextSize MeasuredText(Gtk::TextView& view, const std::string& text, const WorkArea& area)
{
    const bool whole = text.size() <= MeasuredBytes;
    std::size_t measured = std::min(text.size(), MeasuredBytes);
    while (measured > 0 && measured < text.size() && (static_cast<unsigned char>(text[measured]) & 0xC0) == 0x80) {
        --measured;  // never half a character
    }
    const auto layout = view.create_pango_layout(text.substr(0, measured));
    layout->set_wrap(Pango::WRAP_WORD_CHAR);
    const Pango::FontMetrics metrics =
        view.get_pango_context()->get_metrics(view.get_style_context()->get_font());
    const int char_width = std::max(metrics.get_approximate_char_width(), 1);  // in Pango units
    const auto pixels = [](int units) { return (units + PANGO_SCALE - 1) / PANGO_SCALE; };

    MessageWidths widths;
    widths.shortest = pixels(ShortestLineChars * char_width);
    widths.readable = pixels(ReadableLineChars * char_width);
    widths.widest = std::max(area.width - FrameAllowanceX, 1);
    widths.tallest = std::max(area.height - FrameAllowanceY, MinTextHeight);

    // Rounded up: a line laid out at its own width rounded down would wrap its last word.
    int natural = 0;
    int height = 0;
    layout->get_size(natural, height);
    const auto height_at = [&](int width) {
        if (!whole) return std::numeric_limits<int>::max();
        int ignored = 0;
        int wrapped_height = 0;
        layout->set_width(width * PANGO_SCALE);
        layout->get_size(ignored, wrapped_height);
        return pixels(wrapped_height);
    };
    TextSize size;
    size.width = MessageWrapWidth(widths, pixels(natural), height_at);
    size.height = std::min(height_at(size.width), widths.tallest);
    return size;
}

// The message in a read-only view as wide as the text wants, wrapped at word boundaries, that
// scrolls only when the text is taller than the work area allows. A text view lays out only
// what shows, so a huge text opens at once.
void AddMessageText(Gtk::MessageDialog& dialog, Gtk::ScrolledWindow& scroller, Gtk::TextView& view,
                    const std::string& text)
{
    view.set_editable(false);
    view.set_cursor_visible(false);
    view.set_wrap_mode(Gtk::WRAP_WORD_CHAR);
    view.get_buffer()->set_text(text);
    // Drawn like the box's own text, not like an input field.
    const auto style = Gtk::CssProvider::create();
    style->load_from_data("textview, textview text { background-color: transparent; }");
    view.get_style_context()->add_provider(style, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    scroller.add(view);
    scroller.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);

    // The dialog's own label would lay the whole text out at once and grow without bound.
    for (Gtk::Widget* child : dialog.get_message_area()->get_children()) child->hide();
    dialog.get_message_area()->pack_start(scroller, Gtk::PACK_EXPAND_WIDGET);

    // Measured in the dialog, whose style gives the text its font. The view's width request
    // makes the box wide; a view that wraps asks for no width of its own. The height is known
    // before the view lays out its lines, so OK does not move under the reader's pointer.
    const TextSize size = MeasuredText(view, text, PrimaryWorkArea());
    view.set_size_request(size.width + CursorRoom, -1);
    scroller.set_min_content_height(size.height);
    scroller.set_max_content_height(std::max(size.height, 1));
    scroller.set_propagate_natural_height(true);
    scroller.show_all();
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
