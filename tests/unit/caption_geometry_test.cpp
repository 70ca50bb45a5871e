#include "appearance/caption_geometry.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace quillora {
namespace {

// A theme whose system colour n is grey n, so that every lookup shows which index it asked for.
Rgb GreyTheme(int index)
{
    const auto level = static_cast<std::uint8_t>(index);
    return Rgb{level, level, level};
}

// Ten pixels per UTF-8 character.
int TenPerCharacter(std::string_view text)
{
    int characters = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    return 10 * characters;
}

constexpr CaptionMetrics Metrics{
    .frame_width = 4,
    .frame_height = 4,
    .dialog_frame_width = 3,
    .dialog_frame_height = 3,
    .caption_height = 19,
    .small_caption_height = 15,
    .caption_button_width = 18,
    .small_caption_button_width = 13,
    .small_icon_width = 16,
    .small_icon_height = 16,
};

constexpr FrameButtons AllButtons{.window_menu = true, .minimize = true, .maximize = true, .help = true};

TEST(CaptionColours, ToolkitColoursAndSystemColours)
{
    // toolkit colour -> red green blue
    EXPECT_EQ(ResolveToolkitColour(0x00336699, GreyTheme), (Rgb{0x99, 0x66, 0x33}));
    EXPECT_EQ(ResolveToolkitColour(0x000000FF, GreyTheme), (Rgb{0xFF, 0, 0}));
    EXPECT_EQ(ResolveToolkitColour(0x02FF0000, GreyTheme), (Rgb{0, 0, 0xFF}));  // flag byte ignored
    EXPECT_EQ(ResolveToolkitColour(SystemColourValue(15), GreyTheme), GreyTheme(15));
    EXPECT_EQ(ResolveToolkitColour(static_cast<std::int32_t>(0xFF00001Bu), GreyTheme), GreyTheme(27));
    EXPECT_EQ(ResolveToolkitColour(static_cast<std::int32_t>(0x80000005u), GreyTheme), GreyTheme(5));
}

TEST(CaptionColours, EndColourFollowsActivityAndTheSystemsGradients)
{
    // (active, system paints gradients) -> system colour
    EXPECT_EQ(CaptionEndColourIndex(true, true), 27);
    EXPECT_EQ(CaptionEndColourIndex(false, true), 28);
    EXPECT_EQ(CaptionEndColourIndex(true, false), 2);
    EXPECT_EQ(CaptionEndColourIndex(false, false), 3);
}

TEST(CaptionButtons, FrameDecidesWhichButtonsShow)
{
    using F = FrameStyle;
    const FrameButtons menu_min{.window_menu = true, .minimize = true};
    const FrameButtons menu_help{.window_menu = true, .help = true};
    const FrameButtons no_menu{.minimize = true, .maximize = true, .help = true};
    struct Case {
        FrameStyle style;
        FrameButtons in;
        FrameButtons out;
    };
    // frame, buttons -> caption buttons
    const Case cases[] = {
        {F::Dialog, AllButtons, {.window_menu = true, .help = true}},
        {F::ToolWindow, AllButtons, {.window_menu = true}},
        {F::SizeableToolWindow, AllButtons, {.window_menu = true}},
        {F::Sizeable, AllButtons, {.window_menu = true, .minimize = true, .maximize = true}},
        {F::Single, menu_help, menu_help},
        {F::Single, menu_min, menu_min},
        {F::Sizeable, no_menu, {.help = true}},  // no window menu: no minimise or maximise
        {F::Dialog, no_menu, {.help = true}},
    };
    for (const Case& c : cases) EXPECT_EQ(CaptionButtons(c.style, c.in), c.out) << static_cast<int>(c.style);
}

TEST(CaptionButtons, PlacesCountAMissingPartnerOfMinimiseOrMaximise)
{
    // caption buttons -> places
    EXPECT_EQ(ButtonPlaces({}), 0);
    EXPECT_EQ(ButtonPlaces({.window_menu = true}), 1);  // only the close box
    EXPECT_EQ(ButtonPlaces({.window_menu = true, .minimize = true}), 3);
    EXPECT_EQ(ButtonPlaces({.window_menu = true, .maximize = true}), 3);
    EXPECT_EQ(ButtonPlaces({.window_menu = true, .minimize = true, .maximize = true}), 3);
    EXPECT_EQ(ButtonPlaces({.window_menu = true, .help = true}), 2);
}

TEST(CaptionArea, InsetByTheFrameAndEndingBeforeTheButtons)
{
    using F = FrameStyle;
    struct Case {
        FrameStyle style;
        FrameButtons buttons;
        PixelRect rect;
        int places;
        int button_width;
    };
    // frame, buttons of an 800-pixel-wide window -> area, places, place width
    const Case cases[] = {
        {F::Sizeable, AllButtons, {4, 4, 800 - 8 - 3 * 18, 18}, 3, 18},
        {F::Single, AllButtons, {3, 3, 800 - 6 - 3 * 18, 18}, 3, 18},
        {F::Single, {.window_menu = true}, {3, 3, 800 - 6 - 18, 18}, 1, 18},
        {F::Dialog, AllButtons, {3, 3, 800 - 6 - 2 * 18, 18}, 2, 18},
        {F::ToolWindow, AllButtons, {3, 3, 800 - 6 - 13, 14}, 1, 13},
        {F::SizeableToolWindow, AllButtons, {4, 4, 800 - 8 - 13, 14}, 1, 13},
        {F::Sizeable, {}, {4, 4, 800 - 8, 18}, 0, 18},
    };
    for (const Case& c : cases) {
        const auto area = ComputeCaptionArea(c.style, c.buttons, Metrics, 800);
        ASSERT_TRUE(area.has_value());
        EXPECT_EQ(area->rect, c.rect) << static_cast<int>(c.style);
        EXPECT_EQ(area->button_places, c.places) << static_cast<int>(c.style);
        EXPECT_EQ(area->button_width, c.button_width) << static_cast<int>(c.style);
    }
}

TEST(CaptionArea, NoFrameNoCaptionAndNarrowWindowsGiveNoWidth)
{
    EXPECT_FALSE(ComputeCaptionArea(FrameStyle::None, AllButtons, Metrics, 800).has_value());
    const auto narrow = ComputeCaptionArea(FrameStyle::Sizeable, AllButtons, Metrics, 40);
    ASSERT_TRUE(narrow.has_value());
    EXPECT_EQ(narrow->rect.width, 0);
}

TEST(GradientBands, CaptionOf400PixelsFilledFromMinus100)
{
    const Rgb start{0, 0, 128};
    const Rgb end{255, 255, 255};
    const auto bands = GradientBands(start, end, -100, 400, DefaultGradientSteps);
    // 500 pixels: 64 bands of 7 pixels, then 52 pixels of the end colour.
    ASSERT_EQ(bands.size(), 65u);
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(bands[k].x, -100 + 7 * k) << k;
        EXPECT_EQ(bands[k].width, 7) << k;
    }
    EXPECT_EQ(bands[0].colour, start);
    EXPECT_EQ(bands[63].colour, end);
    EXPECT_EQ(bands[64], (ColourBand{348, 52, end}));
}

TEST(GradientBands, BandColoursRoundToTheNearest)
{
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    // (start, end, k, n) -> colour
    EXPECT_EQ(BandColour(black, white, 1, 64), (Rgb{4, 4, 4}));         // 4.05
    EXPECT_EQ(BandColour(black, white, 32, 64), (Rgb{130, 130, 130}));  // 129.52
    EXPECT_EQ(BandColour(white, black, 1, 64), (Rgb{251, 251, 251}));   // 250.95
    EXPECT_EQ(BandColour({10, 200, 0}, {20, 100, 255}, 21, 64), (Rgb{13, 167, 85}));
    // Exact halves go to the even neighbour: 0.5 -> 0, 1.5 -> 2, 7.5 -> 8 either way.
    EXPECT_EQ(BandColour({0, 0, 5}, {1, 3, 10}, 1, 3), (Rgb{0, 2, 8}));
    EXPECT_EQ(BandColour({1, 3, 10}, {0, 0, 5}, 1, 3), (Rgb{0, 2, 8}));
}

TEST(GradientBands, DegenerateRanges)
{
    const Rgb a{1, 2, 3};
    const Rgb b{200, 100, 0};
    // One colour: equal ends, fewer than 2 steps, or a one-pixel range.
    EXPECT_EQ(GradientBands(a, a, -10, 50, 64), (std::vector<ColourBand>{{-10, 60, a}}));
    EXPECT_EQ(GradientBands(a, b, 0, 50, 1), (std::vector<ColourBand>{{0, 50, a}}));
    EXPECT_EQ(GradientBands(a, b, 0, 1, 64), (std::vector<ColourBand>{{0, 1, a}}));
    EXPECT_TRUE(GradientBands(a, b, 0, 0, 64).empty());
    EXPECT_TRUE(GradientBands(a, b, 10, 0, 64).empty());
    // Narrower than the steps: one band per pixel, the last one in the end colour.
    const auto bands = GradientBands(a, b, 0, 5, 64);
    ASSERT_EQ(bands.size(), 5u);
    EXPECT_EQ(bands.front(), (ColourBand{0, 1, a}));
    EXPECT_EQ(bands.back(), (ColourBand{4, 1, b}));
}

TEST(ShortenCaptionText, KeepsAsManyLeadingCharactersAsFit)
{
    struct Case {
        std::string_view text;
        int available;
        std::string_view shown;
    };
    // text, pixels (10 per character) -> shown text
    const Case cases[] = {
        {"Hello", 50, "Hello"},
        {"Hello", 49, "H..."},  // "Hel..." and "He..." are too wide
        {"Hello world", 80, "Hello..."},
        {"Hello world", 30, "..."},
        {"Hello world", 0, "..."},  // drawn even when "..." does not fit
        {"Hello world", -5, "..."},
        {"Ab", 19, "..."},
        {"A", 5, "..."},
        {"", -1, ""},
        {"Cora\xC3\xA7\xC3\xA3o de le\xC3\xA3o", 80, "Cora\xC3\xA7..."},  // whole characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenCaptionText(c.text, c.available, TenPerCharacter), c.shown) << c.text << " in " << c.available;
}

TEST(ShortenCaptionText, SameResultAsTryingEveryLengthInTurn)
{
    // Characters of uneven widths: the search must find the first fit of the plain rule.
    const auto uneven = [](std::string_view text) {
        int width = 0;
        for (char c : text) width += c == 'W' ? 17 : (c == 'i' ? 3 : 8);
        return width;
    };
    const std::string text = "WiWiiWWWiiiWiW iWi WWWWiiii W";
    const auto plain_rule = [&](int available) {
        std::string shown = text;
        const int length = static_cast<int>(text.size());
        for (int i = 1; uneven(shown) > available && i <= length; ++i)
            shown = text.substr(0, static_cast<std::size_t>(std::max(0, length - i - 1))) + "...";
        return shown;
    };
    for (int available = -2; available <= uneven(text) + 2; ++available)
        EXPECT_EQ(ShortenCaptionText(text, available, uneven), plain_rule(available)) << available;
}

TEST(ShortenCaptionText, LongTextsNeedFewMeasurements)
{
    int measurements = 0;
    const auto counting = [&](std::string_view text) {
        ++measurements;
        return TenPerCharacter(text);
    };
    const std::string text(100000, 'x');
    EXPECT_EQ(ShortenCaptionText(text, 400, counting), std::string(37, 'x') + "...");
    EXPECT_LE(measurements, 25);
}

CaptionWindow SizeableWindow(bool active)
{
    return CaptionWindow{.style = FrameStyle::Sizeable,
                         .buttons = {.window_menu = true, .minimize = true, .maximize = true},
                         .metrics = Metrics,
                         .width = 800,
                         .active = active,
                         .system_paints_gradients = true};
}

TEST(PlanCaption, ActiveWindowWithGradientIconAndText)
{
    GradientCaptionStyle style;
    style.start_colour = 0x00800000;  // blue
    const auto plan = PlanCaption(style, SizeableWindow(true), "My book", GreyTheme, TenPerCharacter);
    ASSERT_TRUE(plan.has_value());
    const int w = 800 - 8 - 3 * 18;  // 738
    EXPECT_EQ(plan->area.rect, (PixelRect{4, 4, w, 18}));
    ASSERT_FALSE(plan->background.empty());
    EXPECT_EQ(plan->background.front().x, -(w / 4));
    EXPECT_EQ(plan->background.front().colour, (Rgb{0, 0, 0x80}));
    EXPECT_EQ(plan->background.back().x + plan->background.back().width, w);
    EXPECT_EQ(plan->background.back().colour, GreyTheme(27));
    // Icon centred in an 18-pixel bar, one pixel right; the text after the bar's height + 2.
    ASSERT_TRUE(plan->icon.has_value());
    EXPECT_EQ(*plan->icon, (PixelRect{2, 1, 16, 16}));
    EXPECT_EQ(plan->text_left, 20);
    EXPECT_EQ(plan->text_space, w - 20);
    EXPECT_EQ(plan->text, "My book");
    EXPECT_EQ(plan->text_colour, GreyTheme(9));
}

TEST(PlanCaption, InactiveWindowShowsAPlainBarAndTheInactiveTextColour)
{
    const GradientCaptionStyle style;
    auto window = SizeableWindow(false);
    window.system_paints_gradients = false;
    const auto plan = PlanCaption(style, window, "Book", GreyTheme, TenPerCharacter);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->background, (std::vector<ColourBand>{{0, plan->area.rect.width, GreyTheme(3)}}));
    EXPECT_EQ(plan->text_colour, GreyTheme(19));
}

TEST(PlanCaption, IconOnlyForSingleOrSizeableFramesWithAWindowMenu)
{
    const GradientCaptionStyle style;
    auto window = SizeableWindow(true);
    window.buttons = {};
    auto plan = PlanCaption(style, window, "Book", GreyTheme, TenPerCharacter);
    ASSERT_TRUE(plan.has_value());
    EXPECT_FALSE(plan->icon.has_value());
    EXPECT_EQ(plan->text_left, 2);

    window = SizeableWindow(true);
    window.style = FrameStyle::Dialog;
    plan = PlanCaption(style, window, "Book", GreyTheme, TenPerCharacter);
    ASSERT_TRUE(plan.has_value());
    EXPECT_FALSE(plan->icon.has_value());
}

TEST(PlanCaption, NoFrameNothingToPaint)
{
    auto window = SizeableWindow(true);
    window.style = FrameStyle::None;
    EXPECT_FALSE(PlanCaption({}, window, "Book", GreyTheme, TenPerCharacter).has_value());
}

TEST(PlanCaption, LongTitleIsShortenedToTheSpaceLeft)
{
    const auto plan = PlanCaption({}, SizeableWindow(true), std::string(200, 'a'), GreyTheme, TenPerCharacter);
    ASSERT_TRUE(plan.has_value());
    // 718 pixels after the icon: 71 characters, so 68 of the title and "...".
    EXPECT_EQ(plan->text, std::string(68, 'a') + "...");
}

}  // namespace
}  // namespace quillora
