#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "gui_test_support.hpp"
#include "window/message_boxes.hpp"
#include "window/work_area.hpp"

namespace quillora {
namespace {

using namespace std::chrono_literals;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Within(const WorkArea& area) const
    {
        return x >= area.x && y >= area.y && x + width <= area.x + area.width &&
               y + height <= area.y + area.height;
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

// What a box looked like once it was up, and whether a real click on its OK button closed it.
struct SeenBox {
    bool seen = false;
    std::string caption;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    bool modal = false;
    Rect box;
    Rect ok;
    bool clicked = false;
    int ticks_after_click = 0;
    bool closed_by_test = false;  // the click did not close it
};

// Shows the box through `show`; looks at it once it is up and clicks OK with the pointer.
SeenBox LookAtBox(const std::function<void()>& show)
{
    SeenBox seen;
    const guint watcher = g_timeout_add(50, [](gpointer data) -> gboolean {
        auto& out = *static_cast<SeenBox*>(data);
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* w = toplevels; w != nullptr; w = w->next) {
            auto* dialog = static_cast<GtkWidget*>(w->data);
            GtkWidget* ok = GTK_IS_MESSAGE_DIALOG(dialog)
                                ? gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK)
                                : nullptr;
            if (ok == nullptr || !gtk_widget_get_mapped(ok)) continue;
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
            // Away first: moving to where the pointer already is would wait for a motion that never comes.
            const std::string click = "mousemove 0 0 mousemove --sync " + std::to_string(out.ok.x + out.ok.width / 2) +
                                      " " + std::to_string(out.ok.y + out.ok.height / 2) + " click 1";
            out.clicked = test::Xdotool(gtk_widget_get_window(dialog), click);
        }
        g_list_free(toplevels);
        return G_SOURCE_CONTINUE;
    }, &seen);
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

}  // namespace
}  // namespace quillora
