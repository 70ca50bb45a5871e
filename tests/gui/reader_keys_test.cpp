// The reader's own keys and the page for a page that cannot load, on the real window with real
// X input: find in page, zoom, the navigation shortcuts, and no dead ends.
#include <gtest/gtest.h>

#include <string>

#include "book_window_test.hpp"
#include "payload/setting_index.hpp"
#include "window/find_bar.hpp"
#include "window/page_zoom.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

class ReaderKeysTest : public test::BookWindowTest {
protected:
    void Open(const Pages& pages) { ASSERT_TRUE(Start(pages)) << FirstReport(); }
    // Real X input; what it leads to arrives later, through the main loop.
    void Keys(const std::string& arguments)
    {
        ASSERT_TRUE(test::Xdotool(gtk_widget_get_window(window->Widget()), arguments)) << arguments;
    }
    double ZoomOnceItIs(double level)
    {
        RunUntil([&] { return std::abs(window->Zoom().Level() - level) < 1e-9; });
        return window->Zoom().Level();
    }
    // Runs `click` in the page and waits for the document it leads to.
    void FollowAndWait(const std::string& click)
    {
        const std::size_t before = loaded.size();
        Script(click + "; return ''");
        ASSERT_TRUE(RunUntil([&] { return loaded.size() > before; })) << click;
    }
    GtkWidget* FindBarWidget() { return window->Component("find_bar"); }
    // Pixels of the page in the engine's yellow of matches that are not the current one.
    int HighlightedPixels()
    {
        GtkWidget* view = window->Web().Widget();
        const auto shot = GObjectPtr<GdkPixbuf>::Adopt(
            gdk_pixbuf_get_from_window(gtk_widget_get_window(view), 0, 0, gtk_widget_get_allocated_width(view),
                                       gtk_widget_get_allocated_height(view)));
        int count = 0;
        for (int y = 0; shot && y < gdk_pixbuf_get_height(shot.get()); ++y) {
            const guint8* row = gdk_pixbuf_get_pixels(shot.get()) + y * gdk_pixbuf_get_rowstride(shot.get());
            for (int x = 0; x < gdk_pixbuf_get_width(shot.get()); ++x) {
                const guint8* p = row + x * gdk_pixbuf_get_n_channels(shot.get());
                count += p[0] > 200 && p[1] > 200 && p[2] < 80;
            }
        }
        return count;
    }
};

TEST_F(ReaderKeysTest, FindBarCountsMatchesInAnyCaseAndEscapeGivesThePageBack)
{
    Open({{"index.html", Page("Home", "<p>Apple pie, apple juice, APPLE tree, pear.</p>")}});
    EXPECT_FALSE(gtk_widget_get_mapped(FindBarWidget())) << "no room while closed";

    Keys("key ctrl+f");
    ASSERT_TRUE(RunUntil([&] { return window->Find().IsOpen(); }));
    Keys("type apple");
    EXPECT_TRUE(RunUntil([&] { return window->Find().CountText() == "3 matches"; })) << window->Find().CountText();
    EXPECT_TRUE(RunUntil([&] { return HighlightedPixels() > 0; })) << "the other matches are highlighted too";
    Keys("key F3 F3 shift+F3");
    Keys("type zz");
    EXPECT_TRUE(RunUntil([&] { return window->Find().CountText() == "No matches"; })) << window->Find().CountText();

    Keys("key Escape");
    EXPECT_TRUE(RunUntil([&] { return !window->Find().IsOpen(); }));
    EXPECT_EQ(window->Find().CountText(), "");
    EXPECT_TRUE(RunUntil([&] { return gtk_widget_has_focus(window->Web().Widget()); }))
        << "the page has the keyboard again";
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

TEST_F(ReaderKeysTest, CtrlKeysAndTheWheelZoomInStepsAndCtrl0Resets)
{
    Open({{"index.html", Page("Home", "<p>Text</p>")}});
    GtkWidget* zoom_panel = window->Component("barra_estado_zoom");
    Keys("key ctrl+plus ctrl+equal");
    EXPECT_DOUBLE_EQ(ZoomOnceItIs(1.25), 1.25);
    EXPECT_TRUE(gtk_widget_get_visible(zoom_panel));
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(zoom_panel)), "Zoom 125 %");
    Keys("key ctrl+minus ctrl+minus ctrl+minus");
    EXPECT_DOUBLE_EQ(ZoomOnceItIs(0.9), 0.9);
    Keys("key ctrl+0");
    EXPECT_DOUBLE_EQ(ZoomOnceItIs(1.0), 1.0);

    // Ctrl with the wheel over the page: up zooms in.
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(window->Web().Widget(), window->Widget(), 40, 40, &x, &y);
    Keys("mousemove --window " + std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(window->Widget()))) + " " +
         std::to_string(x) + " " + std::to_string(y) + " keydown ctrl click 4 keyup ctrl");
    EXPECT_DOUBLE_EQ(ZoomOnceItIs(1.1), 1.1);
    // The level shows for a moment only.
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_visible(zoom_panel); }));
}

TEST_F(ReaderKeysTest, ANavigationKeyWorksOnlyWhileItsButtonIsShown)
{
    struct Case {
        const char* back_visible;
        const char* title_after_alt_left;
    };
    const Case cases[] = {{"-1", "Home"}, {"0", "Other"}};  // shown -> back; hidden -> nothing
    for (const auto& c : cases) {
        settings[setting::back_button_visible] = c.back_visible;
        Open({{"index.html", Page("Home", "<a id=l href=other.html>on</a>")}, {"other.html", Page("Other", "")}});
        FollowAndWait("document.getElementById('l').click()");
        // The zoom key after it is always taken: once it has been, so has Alt+Left.
        Keys("key alt+Left ctrl+plus");
        ASSERT_DOUBLE_EQ(ZoomOnceItIs(1.1), 1.1);
        if (c.title_after_alt_left == std::string("Home")) {
            ASSERT_TRUE(RunUntil([&] { return loaded.size() > 2; }));
        } else {
            EXPECT_FALSE(webkit_web_view_is_loading(window->Web().View()));
        }
        EXPECT_EQ(Script("return document.title"), c.title_after_alt_left) << "back shown: " << c.back_visible;
    }
}

TEST_F(ReaderKeysTest, APageThatCannotLoadExplainsWhyAndLeadsBackAndHome)
{
    struct Case {
        const char* link;
        const char* title;
        const char* way_on;  // the link on our page that is followed
        const char* lands_on;
    };
    const Case cases[] = {
        {"missing.html", "Page not found", "back", "Home"},
        // Offline or no server: a port nobody answers on (and one the engine does not refuse).
        {"http://127.0.0.1:2/", "Cannot reach the address", "home", "Home"},
    };
    for (const auto& c : cases) {
        Open({{"index.html", Page("Home", std::string("<a id=l href='") + c.link + "'>on</a>")}});
        FollowAndWait("document.getElementById('l').click()");
        EXPECT_EQ(Script("return document.title"), c.title) << c.link;
        EXPECT_NE(Script("return document.body.innerText")
                      .find(c.link == std::string("missing.html") ? Folder() + "pages/missing.html" : c.link),
                  std::string::npos)
            << Script("return document.body.innerText");
        FollowAndWait(std::string("document.getElementById('") + c.way_on + "').click()");
        EXPECT_EQ(Script("return document.title"), c.lands_on) << c.link;
    }

    // Refresh on our page tries the page that failed again: once it is there, it shows.
    Open({{"index.html", Page("Home", "<a id=l href='late.html'>on</a>")}});
    FollowAndWait("document.getElementById('l').click()");
    book->WritePage("late.html", Page("Late", ""));
    const std::size_t before = loaded.size();
    window->b_refreshClick();
    ASSERT_TRUE(RunUntil([&] { return loaded.size() > before; }));
    EXPECT_EQ(Script("return document.title"), "Late");
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

}  // namespace
}  // namespace quillora
