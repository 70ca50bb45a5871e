// The window as a reader uses it: the tool-bar commands, page styling and the input filter, on the
// real engine with real X input.
#include <atk/atk.h>
#include <gtest/gtest.h>

#include <string>

#include "book_window_test.hpp"
#include "common/signal_connection.hpp"
#include "payload/setting_index.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

class ReaderWindowTest : public test::BookWindowTest {
protected:
    // Packs the settings with the pages and opens the book until its home page has loaded.
    void Open(const Pages& pages) { ASSERT_TRUE(Start(pages)) << FirstReport(); }

    std::string PagePath(const std::string& name) const { return Folder() + "pages/" + name; }
    void Click(const char* button)
    {
        gtk_button_clicked(GTK_BUTTON(gtk_bin_get_child(GTK_BIN(window->Component(button)))));
    }
    // Clicks the button as the reader does, and waits for the next document to finish.
    void ClickAndWait(const char* button)
    {
        const std::size_t before = loaded.size();
        Click(button);
        ASSERT_TRUE(RunUntil([&] { return loaded.size() > before; })) << button;
    }
    // Real X input; what it leads to arrives later, through the main loop.
    void Xdotool(const std::string& arguments)
    {
        ASSERT_TRUE(test::Xdotool(gtk_widget_get_window(window->Widget()), arguments)) << arguments;
    }
};

TEST_F(ReaderWindowTest, HomeGoesToTheHomeOrAlternativePageAndReadsItsSwitchAtEveryClick)
{
    using namespace setting;
    const std::vector<std::pair<std::string, std::string>> pages = {
        {"index.html", Page("Home", "")}, {"other.html", Page("Other", "")}, {"alt.html", Page("Alternative", "")}};
    struct Case {
        const char* alt_on;
        const char* alt_page;
        const char* expected_title;
    };
    const Case cases[] = {
        {"0", "C:\\Books\\Atlas\\pages\\alt.html", "Home"},
        {"-1", "C:\\Books\\Atlas\\pages\\alt.html", "Alternative"},
        {"True", "", "Home"},  // switched on without a page: the home page
    };
    for (const auto& c : cases) {
        settings[home_button_alt_on] = c.alt_on;
        settings[home_button_alt_page] = c.alt_page;
        Open(pages);
        window->Web().Navigate(PagePath("other.html"));
        ASSERT_TRUE(RunUntil([&] { return loaded.size() == 2; }));
        ClickAndWait("b_home");
        EXPECT_EQ(Script("return document.title"), c.expected_title) << c.alt_on;
    }

    // A switch that is no truth value is reported at every click, and nothing is loaded.
    settings[home_button_alt_on] = "maybe";
    Open(pages);
    Click("b_home");
    Click("b_home");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(RunUntil([&] { return loaded.size() > 1 || webkit_web_view_is_loading(window->Web().View()); },
                          std::chrono::seconds(1)));
    EXPECT_EQ(reports[0], "'maybe' is not a valid boolean value.");
}

TEST_F(ReaderWindowTest, StyledPagesAreStyledAfreshAndRefreshLoadsThemAgain)
{
    using namespace setting;
    settings[page_border_on] = "-1";
    settings[page_border_style] = "ridge";
    settings[page_border_color] = "rgb(255, 0, 0)";
    Open({{"index.html", Page("Home", "<p>text</p>")}});
    // The styling script runs after the load.
    const std::string computed = "const s = getComputedStyle(document.body); ";
    EXPECT_EQ(ScriptOnceItIs(computed + "return s.borderTopStyle + ' ' + s.borderTopColor", "ridge rgb(255, 0, 0)"),
              "ridge rgb(255, 0, 0)");
    EXPECT_EQ(window->LastPageAddress(), loaded.back());

    // With styling on, refresh is a new navigation: a new document, styled again.
    Script("window.marker = 'old document'; return ''");
    ClickAndWait("b_refresh");
    EXPECT_EQ(Script("return String(window.marker)"), "undefined");
    EXPECT_EQ(ScriptOnceItIs(computed + "return s.borderTopStyle", "ridge"), "ridge");
    EXPECT_TRUE(reports.empty());
}

TEST_F(ReaderWindowTest, ARefusedBorderStyleIsReportedAndStopsTheLaterPuts)
{
    using namespace setting;
    settings[page_border_on] = "-1";
    settings[page_border_style] = "wavy";
    settings[page_border_color] = "red";
    settings[scrollbar_colors_on] = "-1";
    settings[scrollbar_face_color] = "#FF0000";
    Open({{"index.html", Page("Home", "")}});
    ASSERT_TRUE(RunUntil([&] { return !reports.empty(); }));
    EXPECT_NE(reports[0].find("\"wavy\""), std::string::npos) << reports[0];
    EXPECT_EQ(Script("return document.body.style.borderStyle + '|' + document.body.style.borderColor + '|' + "
                     "String(document.getElementById('quillora-scrollbar-colours'))"),
              "||null");
}

TEST_F(ReaderWindowTest, ScrollBarShowsTheAuthorsColours)
{
    using namespace setting;
    settings[scrollbar_colors_on] = "-1";
    settings[scrollbar_face_color] = "#FF0000";
    settings[scrollbar_track_color] = "#0000FF";
    std::string long_text;
    for (int i = 0; i < 200; ++i) long_text += "<p>Line " + std::to_string(i) + "</p>";
    Open({{"index.html", Page("Home", long_text)}});

    // Look at what is on screen at the page's right edge, once the styling has reached it.
    GtkWidget* view = window->Web().Widget();
    bool face = false;
    bool track = false;
    const auto look = [&] {
        const int width = gtk_widget_get_allocated_width(view);
        const int height = gtk_widget_get_allocated_height(view);
        int x = 0;
        int y = 0;
        gtk_widget_translate_coordinates(view, window->Widget(), width - 8, 0, &x, &y);
        const auto strip = GObjectPtr<GdkPixbuf>::Adopt(
            gdk_pixbuf_get_from_window(gtk_widget_get_window(window->Widget()), x, y, 1, height));
        if (!strip) return false;
        const guint8* pixels = gdk_pixbuf_get_pixels(strip.get());
        for (int row = 0; row < height; ++row) {
            const guint8* p = pixels + row * gdk_pixbuf_get_rowstride(strip.get());
            face = face || (p[0] == 255 && p[1] == 0 && p[2] == 0);
            track = track || (p[0] == 0 && p[1] == 0 && p[2] == 255);
        }
        return face && track;
    };
    RunUntil(look);
    EXPECT_TRUE(face) << "the thumb in the face colour";
    EXPECT_TRUE(track) << "the track in the track colour";
}

TEST_F(ReaderWindowTest, SelectAllAndCopyPutThePageTextOnTheClipboardAndNeverComplain)
{
    Open({{"index.html", Page("Home", "<p>Chapter one</p>")}});
    Click("bot_selectall");
    Click("botao_copiar");
    // The engine copies in its own process; the clipboard follows shortly.
    EXPECT_TRUE(RunUntil([] { return test::ClipboardText().value_or("") == "Chapter one"; }));

    // Without any document both do nothing and show nothing.
    window = Tform_apresentacao::Create();
    Click("bot_selectall");
    Click("botao_copiar");
    EXPECT_TRUE(reports.empty());
}

TEST_F(ReaderWindowTest, ExitClosesThroughTheClosePath)
{
    Open({{"index.html", Page("Home", "")}});
    bool asked_to_close = false;
    const SignalConnection close_watch = Connect<gboolean(GtkWidget*, GdkEvent*)>(
        window->Widget(), "delete-event", [&](GtkWidget*, GdkEvent*) -> gboolean {
            asked_to_close = true;
            return FALSE;
        });
    Click("bt_sair");
    EXPECT_TRUE(RunUntil([&] { return asked_to_close; }));
    EXPECT_FALSE(gtk_widget_get_visible(window->Widget()));
}

TEST_F(ReaderWindowTest, BlockedRightClicksAndShortcutsNeverReachThePage)
{
    using namespace setting;
    // The page logs what reaches it and keeps the engine's own menu from opening.
    const std::string logger =
        "<p>Text to select</p><script>window.seen = [];"
        "addEventListener('keydown', e => { if (e.key !== 'Control') seen.push(e.key.toLowerCase()); });"
        "addEventListener('contextmenu', e => { seen.push('menu'); e.preventDefault(); });</script>";
    struct Case {
        const char* block;  // block_right_click and the three shortcut flags
        const char* buttons_visible;
        const char* seen;
    };
    const Case cases[] = {
        {"0", "0", "a,c,p,v,menu,v"},
        {"-1", "0", "v,v"},
        // a shown button never blocks its shortcut
        {"-1", "-1", "a,c,p,v,v"},
    };
    // Ctrl+V is never blocked: once the page has seen it, the keys before it have come or
    // been stopped, as have the clicks before it.
    const auto seen_v = [this](int count) {
        return [this, count] {
            return Script("return String(seen.filter(k => k === 'v').length)") == std::to_string(count);
        };
    };
    for (const auto& c : cases) {
        settings[block_right_click] = settings[block_ctrl_a] = settings[block_ctrl_c] = settings[block_ctrl_p] =
            c.block;
        settings[select_all_button_visible] = settings[copy_button_visible] = settings[print_button_visible] =
            c.buttons_visible;
        Open({{"index.html", Page("Home", logger)}});
        int x = 0;
        int y = 0;
        gtk_widget_translate_coordinates(window->Web().Widget(), window->Widget(), 40, 40, &x, &y);
        Xdotool("key ctrl+a ctrl+c ctrl+p ctrl+v");
        ASSERT_TRUE(RunUntil(seen_v(1)));
        Xdotool("mousemove --window " +
                std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(window->Widget()))) + " " +
                std::to_string(x) + " " + std::to_string(y) + " click 3");
        Xdotool("key ctrl+v");
        ASSERT_TRUE(RunUntil(seen_v(2)));
        EXPECT_EQ(Script("return seen.join(',')"), c.seen) << "block " << c.block << ", buttons " << c.buttons_visible;
    }
}

TEST_F(ReaderWindowTest, AssistiveTechnologiesAnnounceTheHintsAndTheStatusBar)
{
    settings[setting::hint_home] = "Back to the map";
    settings[setting::hint_stop] = "";
    Open({{"index.html", Page("Home", "")}});
    const auto name_of = [&](const char* button) {
        AtkObject* accessible = gtk_widget_get_accessible(gtk_bin_get_child(GTK_BIN(window->Component(button))));
        return std::string(atk_object_get_name(accessible));
    };
    EXPECT_EQ(name_of("b_home"), "Back to the map");
    EXPECT_EQ(name_of("b_stop"), "Stop") << "without a hint, what the button does";
    EXPECT_TRUE(gtk_widget_get_can_focus(gtk_bin_get_child(GTK_BIN(window->Component("b_home")))));
    AtkObject* status = gtk_widget_get_accessible(window->Component("barra_estado"));
    EXPECT_EQ(atk_object_get_role(status), ATK_ROLE_STATUSBAR);
}

}  // namespace
}  // namespace quillora
