#include "window/message_boxes.hpp"

#include <algorithm>
#include <limits>

#include <atk/atk.h>
#include <glib.h>

#include <memory>

#include "appearance/message_box_width.hpp"
#include "appearance/message_text.hpp"
#include "common/gobject_ptr.hpp"
#include "payload/text_encoding.hpp"
#include "window/widget_owners.hpp"
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

struct FontMetricsDeleter {
    void operator()(PangoFontMetrics* metrics) const { pango_font_metrics_unref(metrics); }
};

// The approximate width of a character in the widget's font, in Pango units.
int AverageCharWidth(GtkWidget* widget)
{
    const FontDescriptionPtr font = StyleFontOf(widget);
    const std::unique_ptr<PangoFontMetrics, FontMetricsDeleter> metrics(
        pango_context_get_metrics(gtk_widget_get_pango_context(widget), font.get(), nullptr));
    return std::max(pango_font_metrics_get_approximate_char_width(metrics.get()), 1);
}

TextSize MeasuredText(GtkWidget* view, const std::string& text, const WorkArea& area)
{
    const bool whole = text.size() <= MeasuredBytes;
    std::size_t measured = std::min(text.size(), MeasuredBytes);
    while (measured > 0 && measured < text.size() && (static_cast<unsigned char>(text[measured]) & 0xC0) == 0x80) {
        --measured;  // never half a character
    }
    const std::string measured_text = text.substr(0, measured);
    const auto layout = GObjectPtr<PangoLayout>::Adopt(gtk_widget_create_pango_layout(view, measured_text.c_str()));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    const int char_width = AverageCharWidth(view);
    const auto pixels = [](int units) { return (units + PANGO_SCALE - 1) / PANGO_SCALE; };

    MessageWidths widths;
    widths.shortest = pixels(ShortestLineChars * char_width);
    widths.readable = pixels(ReadableLineChars * char_width);
    widths.widest = std::max(area.width - FrameAllowanceX, 1);
    widths.tallest = std::max(area.height - FrameAllowanceY, MinTextHeight);

    // Rounded up: a line laid out at its own width rounded down would wrap its last word.
    int natural = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &natural, &height);
    const auto height_at = [&](int width) {
        if (!whole) return std::numeric_limits<int>::max();
        int wrapped_height = 0;
        pango_layout_set_width(layout.get(), width * PANGO_SCALE);
        pango_layout_get_size(layout.get(), nullptr, &wrapped_height);
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
void AddMessageText(GtkMessageDialog* dialog, const std::string& text)
{
    GtkWidget* view = gtk_text_view_new();
    GtkTextView* text_view = GTK_TEXT_VIEW(view);
    gtk_text_view_set_editable(text_view, FALSE);
    gtk_text_view_set_cursor_visible(text_view, FALSE);
    gtk_text_view_set_wrap_mode(text_view, GTK_WRAP_WORD_CHAR);
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(text_view), text.data(), static_cast<gint>(text.size()));
    // Drawn like the box's own text, not like an input field.
    const auto style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
    gtk_css_provider_load_from_data(style.get(), "textview, textview text { background-color: transparent; }", -1,
                                    nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(view), GTK_STYLE_PROVIDER(style.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(scroller);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    gtk_scrolled_window_set_policy(scrolled, GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);

    // The dialog's own label would lay the whole text out at once and grow without bound.
    GtkWidget* message_area = gtk_message_dialog_get_message_area(dialog);
    for (GtkWidget* child : ChildrenOf(message_area)) {
        gtk_widget_hide(child);
    }
    gtk_box_pack_start(GTK_BOX(message_area), scroller, TRUE, TRUE, 0);

    // Measured in the dialog, whose style gives the text its font. The view's width request
    // makes the box wide; a view that wraps asks for no width of its own. The height is known
    // before the view lays out its lines, so OK does not move under the reader's pointer.
    const TextSize size = MeasuredText(view, text, PrimaryWorkArea());
    gtk_widget_set_size_request(view, size.width + CursorRoom, -1);
    gtk_scrolled_window_set_min_content_height(scrolled, size.height);
    gtk_scrolled_window_set_max_content_height(scrolled, std::max(size.height, 1));
    gtk_scrolled_window_set_propagate_natural_height(scrolled, TRUE);
    gtk_widget_show_all(scroller);
}

void ShowModal(GtkWindow* owner, const std::string& caption, const std::string& text, GtkMessageType type)
{
    const OwnedToplevel dialog(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", ""));
    GtkWindow* window = dialog.window();
    gtk_window_set_title(window, caption.c_str());
    const std::string shown = DisplayableText(text);
    AddMessageText(GTK_MESSAGE_DIALOG(dialog.get()), shown);
    // Announced like the box's own text would be.
    atk_object_set_description(gtk_widget_get_accessible(dialog.get()), shown.c_str());
    if (owner != nullptr) {
        gtk_window_set_transient_for(window, owner);
    }
    // Without a visible owner the dialog would open wherever the window manager likes.
    gtk_window_set_position(window, owner != nullptr && gtk_widget_get_visible(GTK_WIDGET(owner))
                                        ? GTK_WIN_POS_CENTER_ON_PARENT
                                        : GTK_WIN_POS_CENTER);
    // OK has the keyboard, so Enter and Escape close the box as before; Tab reaches the text.
    gtk_window_set_focus(window, gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_OK));
    gtk_dialog_run(GTK_DIALOG(dialog.get()));
}

}  // namespace

void ShowWarningBox(GtkWindow* owner, const std::string& caption, const std::string& text)
{
    ShowModal(owner, caption, text, GTK_MESSAGE_WARNING);
}

void ShowErrorReport(GtkWindow* owner, const std::string& title, const std::string& text)
{
    ShowModal(owner, title, text, GTK_MESSAGE_ERROR);
}

}  // namespace quillora
