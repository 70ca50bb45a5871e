#include <cmath>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "appearance/animation_shapes.hpp"
#include "common/event_boundary.hpp"
#include "common/gobject_ptr.hpp"
#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "payload/setting_index.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/system_colours.hpp"

namespace quillora {
namespace {

using test::EBookFixture;
using test::PlainSettings;
using test::RunUntil;

class ApplySettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
        window = Tform_apresentacao::Create();
        settings = PlainSettings();
    }
    void TearDown() override
    {
        window.reset();
        SetErrorReporter(nullptr);
    }

    // Packs the settings, starts the window on them and returns whether start-up went through.
    bool Start()
    {
        EBookFixture book(settings);
        book.WritePage("index.html", test::Page("Home", ""));
        return AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); });
    }
    bool Visible(const char* name) { return gtk_widget_get_visible(window->Component(name)); }

    std::unique_ptr<Tform_apresentacao> window;
    std::vector<std::string> settings;
    std::vector<std::string> reports;
};

TEST_F(ApplySettingsTest, CaptionSizeCentredPositionFrameAndControls)
{
    using namespace setting;
    settings[title] = "Atlas do Norte";
    settings[window_width] = "500";
    settings[window_height] = "$190";  // hexadecimal: 400
    settings[border_style] = "0";
    settings[system_menu] = "-1";
    settings[minimize_button] = "0";
    settings[maximize_button] = "FALSE";
    settings[status_bar_visible] = "0";
    settings[home_button_visible] = "false";
    settings[stop_button_visible] = "0";
    settings[print_button_visible] = "0";
    settings[block_ctrl_p] = "-1";
    settings[copy_button_visible] = "-1";
    settings[block_ctrl_c] = "-1";
    settings[hint_back] = "Voltar uma página";
    settings[hint_about] = "";
    ASSERT_TRUE(Start()) << reports.front();

    EXPECT_EQ(test::TitleOf(window->Window()), "Atlas do Norte");
    EXPECT_EQ(window->ApplicationTitle(), "Atlas do Norte");
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window->Window(), &width, &height);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 400);
    const ScreenSize screen = PrimaryScreenSize();
    int left = 0;
    int top = 0;
    gtk_window_get_position(window->Window(), &left, &top);
    EXPECT_EQ(left, (screen.width - 500) / 2);
    EXPECT_EQ(top, (screen.height - 400) / 2);

    EXPECT_EQ(window->Frame().Style(), FrameStyle::Single);
    EXPECT_FALSE(gtk_window_get_resizable(window->Window()));
    EXPECT_EQ(window->Frame().Buttons(), (FrameButtons{.window_menu = true}));
    EXPECT_EQ(window->Frame().State(), WindowState::Normal);

    EXPECT_FALSE(Visible("barra_estado"));
    EXPECT_FALSE(Visible("b_home"));
    EXPECT_FALSE(Visible("sep1")) << "the separator follows its button";
    EXPECT_FALSE(Visible("b_stop"));
    EXPECT_FALSE(Visible("bt_imprimir"));
    EXPECT_TRUE(Visible("b_volta"));
    EXPECT_TRUE(Visible("botao_copiar"));
    EXPECT_TRUE(window->Kept().blocking.block_ctrl_p) << "a hidden print button blocks Ctrl+P on request";
    EXPECT_FALSE(window->Kept().blocking.block_ctrl_c) << "a visible copy button never blocks Ctrl+C";
    EXPECT_EQ(test::TooltipOf(window->Component("b_volta")), "Voltar uma página");
    EXPECT_EQ(test::TooltipOf(window->Component("b_about")), "");
    EXPECT_EQ(window->Kept().home_page, settings[home_page]);
    EXPECT_EQ(window->Kept().menu_file_stem.size(), 6u);
}

TEST_F(ApplySettingsTest, FrameButtonsBecomeWindowManagerHints)
{
    // system_menu, minimize_button, maximize_button -> decorations the window manager is asked for
    struct Case {
        const char* menu;
        const char* minimize;
        const char* maximize;
        int decorations;
    };
    const Case cases[] = {
        {"0", "0", "0", 0},
        {"-1", "0", "0", GDK_DECOR_MENU},
        {"-1", "-1", "-1", GDK_DECOR_MENU | GDK_DECOR_MINIMIZE | GDK_DECOR_MAXIMIZE},
    };
    for (const auto& c : cases) {
        window = Tform_apresentacao::Create();
        settings[setting::system_menu] = c.menu;
        settings[setting::minimize_button] = c.minimize;
        settings[setting::maximize_button] = c.maximize;
        ASSERT_TRUE(Start()) << reports.front();
        gtk_widget_realize(window->Widget());
        GdkWMDecoration decorations{};
        ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window->Widget()), &decorations));
        const int buttons = decorations & (GDK_DECOR_MENU | GDK_DECOR_MINIMIZE | GDK_DECOR_MAXIMIZE);
        EXPECT_EQ(buttons, c.decorations) << c.menu << c.minimize << c.maximize;
        EXPECT_EQ(gtk_window_get_deletable(window->Window()), c.decorations != 0);
    }
}

TEST_F(ApplySettingsTest, AScreenSizedWindowIsMaximisedWhateverStartMaximizedSays)
{
    const ScreenSize screen = PrimaryScreenSize();
    settings[setting::window_width] = std::to_string(screen.width);
    settings[setting::window_height] = std::to_string(screen.height);
    settings[setting::start_maximized] = "0";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_EQ(window->Frame().State(), WindowState::Maximized);
}

TEST_F(ApplySettingsTest, ClosingDuringAnAnimationEndsStartUpAtOnce)
{
    // animation_kind on a window as large as the work area -> the close stops the effect, the
    // window stays hidden, start-up ends silently before the home page and asks to end.
    for (const char* kind : {"10", "11", "1"}) {
        window = Tform_apresentacao::Create();
        settings[setting::animation_on] = "-1";
        settings[setting::animation_kind] = kind;
        settings[setting::window_width] = settings[setting::window_height] = "32767";
        // The reader closes the window as soon as it shows.
        MainLoopSource closing;
        const SignalConnection mapped =
            Connect<void(GtkWidget*)>(window->Widget(), "map", [this, &closing](GtkWidget*) {
                closing = AddIdle([this] { gtk_window_close(window->Window()); });
            });
        EXPECT_FALSE(Start()) << kind;
        EXPECT_TRUE(reports.empty()) << kind;
        EXPECT_TRUE(window->QuitRequested()) << kind;
        EXPECT_FALSE(gtk_widget_get_visible(window->Widget())) << kind;
        EXPECT_FALSE(window->Web().HasDocument()) << kind;
        int width = 0;
        int height = 0;
        gtk_window_get_default_size(window->Window(), &width, &height);
        const auto effect = *EffectForKind(std::stoi(kind));
        EXPECT_LT(static_cast<std::size_t>(window->Animation().LastStepCount()),
                  EffectRegions(effect, width, height).size())
            << kind << ": the effect stopped before its end";
    }
}

TEST_F(ApplySettingsTest, OnlyExactlyZeroStartsNormal)
{
    // start_maximized -> state (a border style of 5 keeps the frame and still sets the state)
    const std::pair<const char*, WindowState> cases[] = {{"0", WindowState::Normal},
                                                         {"00", WindowState::Maximized},
                                                         {"0 ", WindowState::Maximized},
                                                         {"", WindowState::Maximized}};
    for (const auto& [text, state] : cases) {
        window = Tform_apresentacao::Create();
        settings[setting::start_maximized] = text;
        settings[setting::border_style] = "5";
        ASSERT_TRUE(Start()) << reports.front();
        EXPECT_EQ(window->Frame().State(), state) << '"' << text << '"';
        EXPECT_EQ(window->Frame().Style(), FrameStyle::Sizeable) << "the described frame stays";
    }
}

TEST_F(ApplySettingsTest, AMalformedCaptionFontColourKeepsNameAndSizeAndStopsThere)
{
    settings[setting::caption_font] = "Serif,14";
    settings[setting::gradient_caption_on] = "-1";
    EXPECT_FALSE(Start());
    EXPECT_EQ(reports, std::vector<std::string>{"'' is not a valid integer value."});
    EXPECT_EQ(window->Caption().Font.name, "Serif");
    EXPECT_EQ(window->Caption().Font.size, 14);
    EXPECT_FALSE(window->Caption().Active) << "step 7 never ran";
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window->Window(), &width, &height);
    EXPECT_EQ(width, 650) << "the size of the description stays";
}

TEST_F(ApplySettingsTest, AnimationKindIsNotReadWhileAnimationIsOff)
{
    settings[setting::animation_on] = "0";
    settings[setting::animation_kind] = "fast";
    EXPECT_TRUE(Start());
    EXPECT_TRUE(reports.empty());
    settings[setting::animation_on] = "1";
    window = Tform_apresentacao::Create();
    EXPECT_FALSE(Start());
    EXPECT_EQ(reports, std::vector<std::string>{"'fast' is not a valid integer value."});
}

TEST_F(ApplySettingsTest, AppearAnimationLeavesTheWholeWindowShownWithoutShape)
{
    settings[setting::animation_on] = "-1";
    settings[setting::animation_kind] = "7";  // appear, vertically
    settings[setting::window_width] = "200";
    settings[setting::window_height] = "120";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_TRUE(gtk_widget_get_visible(window->Widget()));
    EXPECT_GT(window->Animation().LastStepCount(), 0);
}

TEST_F(ApplySettingsTest, DisappearAnimationLeavesTheWindowHidden)
{
    settings[setting::animation_on] = "-1";
    settings[setting::animation_kind] = "2";  // disappear, rectangle
    settings[setting::window_width] = "120";
    settings[setting::window_height] = "80";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_FALSE(gtk_widget_get_visible(window->Widget()));
}

TEST_F(ApplySettingsTest, SkinIndexPastTheStoreLoadsNoneButSwitchesOn)
{
    settings[setting::skin_on] = "-1";
    settings[setting::skin_index] = "16";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_TRUE(window->Skin().Active());
    EXPECT_EQ(window->Skin().LoadedSkin(), -1);
    EXPECT_TRUE(window->SkinCaption().Active());
    EXPECT_EQ(window->SkinCaption().TitleBar(), nullptr) << "no skin, no title bar of our own";

    window = Tform_apresentacao::Create();
    settings[setting::skin_index] = "3";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_EQ(window->Skin().LoadedSkin(), 3);
    ASSERT_NE(window->SkinCaption().TitleBar(), nullptr) << "the skin draws the caption";
    EXPECT_EQ(test::TitleOf(window->Window()), "Atlas") << "the window keeps its caption";

    window = Tform_apresentacao::Create();
    settings[setting::gradient_caption_on] = "-1";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_EQ(window->SkinCaption().TitleBar(), nullptr) << "the gradient caption paints it";
    EXPECT_NE(window->Caption().TitleBar(), nullptr);
    settings[setting::gradient_caption_on] = "0";

    window = Tform_apresentacao::Create();
    settings[setting::skin_index] = "-1";
    EXPECT_FALSE(Start());
    EXPECT_EQ(reports, std::vector<std::string>{"List index out of bounds (-1)"});
}

// The colour of one pixel of a widget as it is on the screen.
Rgb PixelOf(GtkWidget* widget, int x, int y)
{
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int root_x = 0;
    int root_y = 0;
    gtk_widget_translate_coordinates(widget, toplevel, x, y, &root_x, &root_y);
    const auto pixbuf =
        GObjectPtr<GdkPixbuf>::Adopt(gdk_pixbuf_get_from_window(gtk_widget_get_window(toplevel), root_x, root_y, 1, 1));
    const guint8* p = gdk_pixbuf_get_pixels(pixbuf.get());
    return {p[0], p[1], p[2]};
}

bool Near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

TEST_F(ApplySettingsTest, GradientCaptionRunsFromTheStartColourToTheCaptionColour)
{
    settings[setting::gradient_caption_on] = "-1";
    settings[setting::gradient_start_color] = "$000000FF";  // red
    settings[setting::caption_font] = "Sans,10,clWhite,Negrito";
    settings[setting::window_width] = "400";
    ASSERT_TRUE(Start()) << reports.front();
    ASSERT_TRUE(window->Caption().Active);
    GtkWidget* bar = window->Caption().TitleBar();
    ASSERT_NE(bar, nullptr);
    gtk_widget_show(window->Widget());
    gtk_window_present(window->Window());
    ASSERT_TRUE(
        RunUntil([&] { return gtk_window_is_active(window->Window()) && gtk_widget_get_allocated_width(bar) > 0; }));

    const Rgb end =
        ThemeSystemColour(gtk_widget_get_style_context(window->Widget()), system_colour::GradientActiveCaption);
    const Rgb start{255, 0, 0};
    const int width = gtk_widget_get_allocated_width(bar);
    // The gradient starts a quarter of the width left of the bar: its left edge shows the
    // colour one fifth of the way from start to end.
    const auto mix = [&](double f) {
        return Rgb{static_cast<std::uint8_t>(std::lround(start.red + (end.red - start.red) * f)),
                   static_cast<std::uint8_t>(std::lround(start.green + (end.green - start.green) * f)),
                   static_cast<std::uint8_t>(std::lround(start.blue + (end.blue - start.blue) * f))};
    };
    // Once the bar is painted, its right end is in the end colour.
    EXPECT_TRUE(RunUntil([&] { return Near(PixelOf(bar, width - 1, 2), end, 0); }))
        << "the end colour at the right end";
    EXPECT_TRUE(Near(PixelOf(bar, 0, 2), mix(0.2), 6));
}

TEST_F(ApplySettingsTest, WithoutFrameThereIsNoGradientCaptionToSee)
{
    settings[setting::gradient_caption_on] = "-1";
    settings[setting::border_style] = "1";
    ASSERT_TRUE(Start()) << reports.front();
    EXPECT_FALSE(gtk_window_get_decorated(window->Window()));
    EXPECT_EQ(window->Frame().Style(), FrameStyle::None);
}

}  // namespace
}  // namespace quillora
