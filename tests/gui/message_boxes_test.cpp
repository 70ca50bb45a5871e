#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "gui_test_support.hpp"
#include "screen_size.hpp"
#include "window/message_boxes.hpp"
#include "window/work_area.hpp"

namespace quillora {
namespace {

using namespace std::chrono_literals;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Within(const WorkArea& area) const
    {
        return x >= area.x && y >= area.y && x + width <= area.x + area.width && y + height <= area.y + area.height;
    }
};

Rect OnScreen(GtkWidget* widget)
{
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    Rect rect{0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)};
    gtk_widget_translate_coordinates(widget, toplevel, 0, 0, &rect.x, &rect.y);
    int origin_x = 0;
    int origin_y = 0;
    gdk_window_get_origin(gtk_widget_get_window(toplevel), &origin_x, &origin_y);
    rect.x += origin_x;
    rect.y += origin_y;
    return rect;
}

GtkTextView* TextViewIn(GtkWidget* widget)
{
    if (GTK_IS_TEXT_VIEW(widget)) return GTK_TEXT_VIEW(widget);
    GtkTextView* found = nullptr;
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
            found = TextViewIn(static_cast<GtkWidget*>(child->data));
        }
        g_list_free(children);
    }
    return found;
}

// The lines the view shows its text on, counting no further than `most`.
int DisplayLines(GtkTextView* view, int most)
{
    GtkTextIter at;
    gtk_text_buffer_get_start_iter(gtk_text_view_get_buffer(view), &at);
    int lines = 1;
    while (lines < most && gtk_text_view_forward_display_line(view, &at)) ++lines;
    return lines;
}

// What a box looked like once it was up, and whether a real click on its OK button closed it.
struct SeenBox {
    bool seen = false;
    std::string caption;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    bool modal = false;
    Rect box;
    Rect ok;
    std::string text;
    int lines = 0;         // the text's lines on screen, up to 50
    int line_height = 0;   // of the text's first line
    bool scrolls = false;  // the text is taller than its view
    bool clicked = false;
    int ticks_after_click = 0;
    bool closed_by_test = false;  // the click did not close it
    // Before it is looked at: the box waited for, whether it has drawn itself (which a
    // toplevel does only once the X server shows it), and where its OK was at the last look.
    GtkWidget* watched = nullptr;
    bool drawn = false;
    Rect last_ok;
};

// Shows the box through `show`; looks at it once it is up and clicks OK with the pointer.
SeenBox LookAtBox(const std::function<void()>& show)
{
    SeenBox seen;
    const guint watcher = g_timeout_add(
        50,
        [](gpointer data) -> gboolean {
            auto& out = *static_cast<SeenBox*>(data);
            GList* toplevels = gtk_window_list_toplevels();
            for (GList* w = toplevels; w != nullptr; w = w->next) {
                auto* dialog = static_cast<GtkWidget*>(w->data);
                GtkWidget* ok = GTK_IS_MESSAGE_DIALOG(dialog)
                                    ? gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK)
                                    : nullptr;
                if (ok == nullptr || !gtk_widget_get_mapped(ok)) continue;
                if (!out.seen) {
                    // Looked at and clicked once the box is on the screen and OK stays where it
                    // was at the look before: a box the toolkit has only asked to show cannot take
                    // the keyboard focus, and a click at a place it is about to leave misses it.
                    if (dialog != out.watched) {
                        out.watched = dialog;
                        out.drawn = false;
                        g_signal_connect(dialog, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer box) {
                                             static_cast<SeenBox*>(box)->drawn = true;
                                             return FALSE;
                                         }),
                                         &out);
                        gtk_widget_queue_draw(dialog);
                        continue;
                    }
                    if (!out.drawn) continue;
                    const Rect ok_now = OnScreen(ok);
                    const bool still = ok_now.x == out.last_ok.x && ok_now.y == out.last_ok.y &&
                                       ok_now.width == out.last_ok.width && ok_now.height == out.last_ok.height;
                    out.last_ok = ok_now;
                    if (!still) continue;
                }
                if (out.seen) {
                    // Still up long after the click: close it, so that the test goes on and fails.
                    if (++out.ticks_after_click > 200) {
                        out.closed_by_test = true;
                        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
                    }
                    continue;
                }
                out.seen = true;
                out.caption = gtk_window_get_title(GTK_WINDOW(dialog));
                g_object_get(dialog, "message-type", &out.type, nullptr);
                out.modal = gtk_window_get_modal(GTK_WINDOW(dialog));
                out.box = OnScreen(dialog);
                out.ok = OnScreen(ok);
                if (GtkTextView* view = TextViewIn(dialog)) {
                    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
                    GtkTextIter start, end;
                    gtk_text_buffer_get_bounds(buffer, &start, &end);
                    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
                    out.text = text;
                    g_free(text);
                    out.lines = DisplayLines(view, 50);
                    GdkRectangle first{};
                    gtk_text_view_get_iter_location(view, &start, &first);
                    out.line_height = first.height;
                    GtkAdjustment* scroll = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(view));
                    out.scrolls = gtk_adjustment_get_upper(scroll) > gtk_adjustment_get_page_size(scroll) + 1;
                }
                // Away first: moving to where the pointer already is would wait for a motion that never comes.
                const std::string click = "mousemove 0 0 mousemove --sync " +
                                          std::to_string(out.ok.x + out.ok.width / 2) + " " +
                                          std::to_string(out.ok.y + out.ok.height / 2) + " click 1";
                out.clicked = test::Xdotool(gtk_widget_get_window(dialog), click);
            }
            g_list_free(toplevels);
            return G_SOURCE_CONTINUE;
        },
        &seen);
    show();
    g_source_remove(watcher);
    return seen;
}

TEST(MessageBoxes, AnyTextStaysOnScreenWithItsOkButtonWithinReach)
{
    const WorkArea area = PrimaryWorkArea();
    std::string many_lines;
    for (int i = 0; i < 20000; ++i) many_lines += "Line " + std::to_string(i) + "\n";
    std::string words;
    while (words.size() < 1'000'000) words += "palavra ";
    struct Case {
        const char* label;
        std::string text;
        bool error_report;
    };
    // text -> a modal box with its caption and icon, inside the work area, closed by a click on OK
    const Case cases[] = {
        {"short", "The home page is missing.", false},
        {"1 MB without a blank", std::string(1'000'000, 'x'), false},
        {"1 MB of words", words, true},
        {"20000 lines", many_lines, false},
    };
    for (const Case& c : cases) {
        const SeenBox seen = LookAtBox([&] {
            if (c.error_report)
                ShowErrorReport(nullptr, "Atlas", c.text);
            else
                ShowWarningBox(nullptr, "Quillora", c.text);
        });
        ASSERT_TRUE(seen.seen) << c.label;
        EXPECT_EQ(seen.caption, c.error_report ? "Atlas" : "Quillora") << c.label;
        EXPECT_EQ(seen.type, c.error_report ? GTK_MESSAGE_ERROR : GTK_MESSAGE_WARNING) << c.label;
        EXPECT_TRUE(seen.modal) << c.label;
        EXPECT_TRUE(seen.box.Within(area)) << c.label << ": box " << seen.box.width << " x " << seen.box.height
                                           << " at " << seen.box.x << ", " << seen.box.y;
        EXPECT_TRUE(seen.ok.Within(area)) << c.label;
        EXPECT_TRUE(seen.clicked) << c.label;
        EXPECT_FALSE(seen.closed_by_test) << c.label << ": the click on OK did not close the box";
    }
}

TEST(MessageBoxes, AreAsWideAsTheirTextAndScrollOnlyWhatTheScreenCannotHold)
{
    std::string paragraph;
    while (paragraph.size() < 1500) paragraph += "The pages of this book are kept in the folder beside it. ";
    std::string tall;
    for (int i = 0; i < 400; ++i) tall += "Line " + std::to_string(i) + "\n";
    const std::string short_text = "This book needs a connection to the internet.";
    // Screens of a small laptop and of the virtual display's own size.
    const test::PixelSize screens[] = {{800, 600}, {1280, 1024}};
    for (const test::PixelSize screen : screens) {
        const test::ScreenSizeScope size(screen);
        ASSERT_TRUE(size.Set()) << screen.width << " x " << screen.height;
        const WorkArea area = PrimaryWorkArea();
        const std::string at = " on " + std::to_string(screen.width) + " x " + std::to_string(screen.height);
        // text -> a box of its own width within the work area, with OK there too
        const SeenBox brief = LookAtBox([&] { ShowWarningBox(nullptr, "Quillora", short_text); });
        const SeenBox wide = LookAtBox([&] { ShowErrorReport(nullptr, "Atlas", paragraph); });
        const SeenBox high = LookAtBox([&] { ShowWarningBox(nullptr, "Quillora", tall); });
        for (const SeenBox* seen : {&brief, &wide, &high}) {
            ASSERT_TRUE(seen->seen) << at;
            EXPECT_TRUE(seen->box.Within(area)) << at << ": box " << seen->box.width << " x " << seen->box.height
                                                << " at " << seen->box.x << ", " << seen->box.y;
            EXPECT_TRUE(seen->ok.Within(area)) << at;
            EXPECT_FALSE(seen->closed_by_test) << at << ": the click on OK did not close the box";
        }
        // A short text: a box as wide as a desktop's message box, the text on one or two lines.
        EXPECT_EQ(brief.text, short_text);
        EXPECT_GE(brief.box.width, 300) << at;
        EXPECT_LE(brief.box.width, 440) << at;
        EXPECT_LE(brief.lines, 2) << at;
        EXPECT_GT(brief.line_height, 0) << at;
        EXPECT_FALSE(brief.scrolls) << at;
        // A long paragraph: wider, its lines longer than the short text, all of it on screen.
        EXPECT_GT(wide.box.width, brief.box.width) << at;
        EXPECT_GE(wide.lines, 4) << at;
        EXPECT_FALSE(wide.scrolls) << at << ": " << wide.lines << " lines in a box " << wide.box.height << " high";
        // A text taller than the screen: it scrolls, and the box keeps within the work area.
        EXPECT_TRUE(high.scrolls) << at;
        EXPECT_GT(high.box.height, area.height / 2) << at;
    }
}

}  // namespace
}  // namespace quillora
