// The whole window on the real engine, natively on Wayland: what the reader sees on the
// compositor's output, the caption, the skins, the tool bar and closing, and that nothing of
// ours warns on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "gui/book_window_test.hpp"
#include "log_recorder.hpp"
#include "payload/setting_index.hpp"
#include "screenshot.hpp"
#include "window/system_colours.hpp"

namespace quillora {
namespace {

using test::Page;
using test::Rgb8;
using test::RunUntil;
using test::Screenshot;

constexpr Rgb8 PageColour{32, 64, 128};
const std::string HomeBody = "<div style='position:fixed;inset:0;background:rgb(32,64,128)'></div>";

bool Near(Rgb8 a, Rgb8 b, int tolerance = 3)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class WaylandWindowTest : public test::BookWindowTest {
protected:
    void SetUp() override
    {
        BookWindowTest::SetUp();
        first_record_ = test::LogRecorder::Records().size();
    }
    void TearDown() override
    {
        opacity_watch_ = {};
        BookWindowTest::TearDown();
        for (const auto& fault : test::LogRecorder::Faults(first_record_)) {
            ADD_FAILURE() << "logged: " << (fault.domain.empty() ? "(the program)" : fault.domain) << ": "
                          << fault.message;
        }
    }

    // Waits until a screenshot of the output satisfies `shows` (the compositor shows what the
    // window drew a few frames later); false when none does within the limit.
    static bool ScreenShows(const std::function<bool(const Screenshot&)>& shows)
    {
        std::optional<Screenshot> last;
        // A screenshot is a process of its own and a full-output read, during which the window
        // answers nothing: taken at every turn of the loop, or back to back on a loaded machine
        // where one takes long, it would starve the page load it waits for. So the loop keeps at
        // least three times as long as the last one took for itself.
        using Clock = std::chrono::steady_clock;
        auto next_look = Clock::now();
        bool seen = false;
        const bool shown = RunUntil(
            [&] {
                if (seen || Clock::now() < next_look) return seen;
                const auto start = Clock::now();
                last = Screenshot::Take();
                const auto took = Clock::now() - start;
                next_look = Clock::now() + std::max<Clock::duration>(std::chrono::milliseconds(250), 3 * took);
                seen = last && shows(*last);
                return seen;
            },
            std::chrono::seconds(20));
        if (!last) {
            ADD_FAILURE() << "weston-screenshooter took no screenshot";
        } else if (!shown) {
            // In the working folder (the build's test folder under ctest).
            const std::string path =
                std::string("wayland-") + testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
            last->Save(path);
            ADD_FAILURE() << "what the output showed last: " << path;
        }
        return shown;
    }
    static bool ScreenShowsPage()
    {
        return ScreenShows(
            [](const Screenshot& s) { return s.Count([](Rgb8 p) { return Near(p, PageColour); }) > 100'000; });
    }
    std::string PageTitle() const
    {
        const char* title = webkit_web_view_get_title(window->Web().View());
        return title != nullptr ? title : "";
    }
    void Click(const char* button)
    {
        gtk_button_clicked(GTK_BUTTON(gtk_bin_get_child(GTK_BIN(window->Component(button)))));
    }
    // Whether the page `file` is shown and has finished loading: a title shows while its page
    // still loads, and a reload counted from then would be that page's own end.
    bool Shows(const std::string& title, const std::string& file) const
    {
        return PageTitle() == title && !loaded.empty() && loaded.back().ends_with("/" + file);
    }
    void ClickAndWait(const char* button, const std::string& title, const std::string& file)
    {
        Click(button);
        ASSERT_TRUE(RunUntil([&] { return Shows(title, file); })) << button;
    }

    void WindowCreated() override
    {
        if (on_new_window_) on_new_window_(window->Widget());
    }
    std::function<void(GtkWidget*)> on_new_window_;
    SignalConnection opacity_watch_;

private:
    std::size_t first_record_ = 0;
};

TEST_F(WaylandWindowTest, TheHomePageShowsAndAnActionLinkChangesTheCaption)
{
    ASSERT_TRUE(
        Start({{"index.html", Page("Home", HomeBody + "<a id='t' href='ACTION:APPLICATIONTITLE %Café%'>t</a>")}}))
        << FirstReport();
    EXPECT_TRUE(gtk_widget_get_mapped(window->Widget()));
    EXPECT_TRUE(ScreenShowsPage());
    Script("document.getElementById('t').click(); return ''");
    EXPECT_TRUE(RunUntil([&] { return test::TitleOf(window->Window()) == "Café"; }));
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

TEST_F(WaylandWindowTest, TheGradientCaptionIsAGradientWhileTheWindowIsActive)
{
    settings[setting::gradient_caption_on] = "-1";
    settings[setting::gradient_start_color] = "$000000FF";  // red
    settings[setting::window_width] = "500";
    ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}})) << FirstReport();
    ASSERT_NE(window->Caption().TitleBar(), nullptr);
    // The compositor's seat gives a new window the keyboard focus, as a desktop does.
    ASSERT_TRUE(RunUntil([&] { return gtk_window_is_active(window->Window()) != FALSE; }));
    // Active, the bar runs from red to the theme's active caption colour; inactive it would be
    // flat, in the inactive caption colour. The caption's row is the one with the most red in it.
    const Rgb active =
        ThemeSystemColour(gtk_widget_get_style_context(window->Widget()), system_colour::GradientActiveCaption);
    const Rgb8 active_end{active.red, active.green, active.blue};
    const auto is_red = [](Rgb8 p) { return p.r > p.g + 40 && p.r > p.b + 40; };
    EXPECT_TRUE(ScreenShows([&](const Screenshot& s) {
        int caption_row = 0;
        int most_red = 0;
        for (int y = 0; y < s.Height(); ++y) {
            int red = 0;
            for (int x = 0; x < s.Width(); ++x) red += is_red(s.At(x, y)) ? 1 : 0;
            if (red > most_red) {
                most_red = red;
                caption_row = y;
            }
        }
        std::set<std::tuple<int, int, int>> colours;
        int at_the_end = 0;
        for (int x = 0; x < s.Width(); ++x) {
            const Rgb8 p = s.At(x, caption_row);
            if (Near(p, active_end, 2)) ++at_the_end;
            if (is_red(p) || Near(p, active_end, 2)) continue;
            colours.insert({p.r, p.g, p.b});
        }
        // Red, the end colour, and many colours between them.
        return most_red >= 30 && at_the_end >= 20 && colours.size() >= 32;
    }));
}

TEST_F(WaylandWindowTest, ASkinChangesTheLook)
{
    // The forest skin's status bar is dark green; nothing else on the output is.
    const auto dark_green = [](Rgb8 p) { return p.g > p.r + 15 && p.g > p.b + 15 && p.g < 140; };
    ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}})) << FirstReport();
    ASSERT_TRUE(ScreenShowsPage());
    EXPECT_LT(Screenshot::Take()->Count(dark_green), 500);

    settings[setting::skin_on] = "-1";
    settings[setting::skin_index] = "3";
    ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}})) << FirstReport();
    EXPECT_TRUE(ScreenShows([&](const Screenshot& s) { return s.Count(dark_green) > 5'000; }));
}

TEST_F(WaylandWindowTest, TheToolBarButtonsWorkAndClosingHidesTheWindow)
{
    ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}, {"two.html", Page("Two", "")}})) << FirstReport();
    Script("location.href = 'two.html'; return ''");
    ASSERT_TRUE(RunUntil([&] { return Shows("Two", "two.html"); }));
    ClickAndWait("b_volta", "Home", "index.html");
    ClickAndWait("b_proximo", "Two", "two.html");
    ClickAndWait("b_home", "Home", "index.html");
    const std::size_t before = loaded.size();
    Click("b_refresh");
    EXPECT_TRUE(RunUntil([&] { return loaded.size() > before; }));
    Script("document.body.append('Selected'); return ''");
    Click("bot_selectall");
    EXPECT_TRUE(RunUntil([&] {
        return Script("return getSelection().toString()").find("Selected") != std::string::npos;
    })) << "loads since the reload: "
        << loaded.size() - before << ", the last of " << loaded.back() << "; the page holds '"
        << Script("return document.body.textContent") << "', selected '" << Script("return getSelection().toString()")
        << "'";
    // Copy is not checked here: a Wayland compositor takes a new clipboard owner only with the
    // serial of a recent input event, which a reader's click gives and these tests do not.

    // The program ends when its window hides (as its main loop does, watched here).
    const SignalConnection closing = Connect<gboolean(GtkWidget*, GdkEvent*)>(
        window->Widget(), "delete-event", [](GtkWidget* widget, GdkEvent*) -> gboolean {
            gtk_widget_hide(widget);
            return TRUE;
        });
    Click("bt_sair");
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_visible(window->Widget()); }));
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

TEST_F(WaylandWindowTest, AnOpeningAnimationFadesInsteadOfShapingTheWindow)
{
    settings[setting::animation_on] = "-1";
    settings[setting::animation_kind] = "7";  // appear, vertically
    settings[setting::window_width] = "200";
    settings[setting::window_height] = "120";
    // Start() makes the window afresh; the opacities it takes are watched from its first one.
    double least_opacity = 1.0;
    int opacity_changes = 0;
    on_new_window_ = [&](GtkWidget* widget) {
        opacity_watch_ =
            Connect<void(GtkWidget*, GParamSpec*)>(widget, "notify::opacity", [&](GtkWidget* w, GParamSpec*) {
                least_opacity = std::min(least_opacity, gtk_widget_get_opacity(w));
                ++opacity_changes;
            });
    };
    ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}})) << FirstReport();
    EXPECT_TRUE(gtk_widget_get_visible(window->Widget()));
    EXPECT_GT(window->Animation().LastStepCount(), 0);
    EXPECT_LT(least_opacity, 0.2) << "the window faded in";
    EXPECT_GT(opacity_changes, 3);
    EXPECT_DOUBLE_EQ(gtk_widget_get_opacity(window->Widget()), 1.0);
}

TEST_F(WaylandWindowTest, FrameButtonsAndPlacementThatWaylandIgnoresPassQuietly)
{
    // Wayland lets no program place its window or hint its frame buttons to the desktop: the
    // window opens all the same, and nothing is logged (the fixture fails on a critical).
    struct Case {
        const char* border_style;
        const char* buttons;  // minimize, maximize, window menu
        const char* gradient;
    };
    const Case cases[] = {
        {"0", "0", "0"},
        {"2", "0", "0"},
        {"0", "0", "-1"},
        {"2", "-1", "-1"},
    };
    for (const auto& c : cases) {
        settings[setting::border_style] = c.border_style;
        settings[setting::minimize_button] = settings[setting::maximize_button] = settings[setting::system_menu] =
            c.buttons;
        settings[setting::gradient_caption_on] = c.gradient;
        ASSERT_TRUE(Start({{"index.html", Page("Home", HomeBody)}})) << FirstReport();
        EXPECT_TRUE(RunUntil([&] { return gtk_widget_get_mapped(window->Widget()) != FALSE; }))
            << c.border_style << c.buttons << c.gradient;
        EXPECT_EQ(gtk_window_get_deletable(window->Window()), std::string(c.buttons) != "0");
    }
}

}  // namespace
}  // namespace quillora
