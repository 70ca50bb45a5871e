#include "window/window_placement.hpp"

#include <climits>
#include <string_view>

#include <gtest/gtest.h>

#include "common/error.hpp"

namespace quillora {
namespace {

constexpr ScreenSize Screen{1024, 768};

TEST(FillsScreen, BothSidesMustReachTheScreen)
{
    struct Case {
        std::string_view width, height;
        bool fills;
    };
    // (width, height) on a 1024 x 768 screen -> fills
    const Case cases[] = {
        {"1024", "768", true},   // exactly the screen
        {"1025", "769", true},
        {"$400", "$300", true},  // hexadecimal numbers convert too
        {"1025", "767", false},  // wider but lower
        {"1023", "768", false},
        {"800", "600", false},
        {" 1024", "768", true},
        {"-1", "768", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillsScreen(c.width, c.height, Screen), c.fills) << c.width << " x " << c.height;
}

TEST(FillsScreen, HeightIsConvertedOnlyWhenTheWidthPasses)
{
    EXPECT_FALSE(FillsScreen("800", "tall", Screen));
    EXPECT_THROW(FillsScreen("1024", "tall", Screen), Error);
    EXPECT_THROW(FillsScreen("wide", "768", Screen), Error);
    EXPECT_THROW(FillsScreen("1024 ", "768", Screen), Error);  // trailing blank
}

TEST(CenteredOrigin, HalfTheDifferenceTruncatedTowardZero)
{
    struct Case {
        ScreenSize area;
        int width, height;
        WindowOrigin origin;
    };
    // area, window -> origin
    const Case cases[] = {
        {{1024, 768}, 800, 600, {112, 84}},
        {{1025, 769}, 800, 600, {112, 84}},   // odd differences round down
        {{1024, 768}, 1155, 899, {-65, -65}}, // -131 / 2 is -65, not -66
        {{1024, 768}, 1024, 768, {0, 0}},
        {{1024, 768}, 1025, 769, {0, 0}},     // -1 / 2 is 0
        {{0, 0}, 0, 0, {0, 0}},
        {{1920, 1080}, INT_MIN, INT_MAX, {1073742784, -1073741283}},  // no overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(CenteredOrigin(c.area, c.width, c.height), c.origin) << c.width << " x " << c.height;
}

TEST(WindowStateDecisions, OnlyExactlyZeroStartsNormal)
{
    // start_maximized -> state
    EXPECT_EQ(StartWindowState("0"), WindowState::Normal);
    for (std::string_view text : {"1", "00", "0 ", " 0", "", "False", "-0"})
        EXPECT_EQ(StartWindowState(text), WindowState::Maximized) << "[" << text << "]";
}

TEST(WindowStateDecisions, BorderStyleChoosesTheFrame)
{
    // border_style -> frame (nullopt keeps the frame)
    EXPECT_EQ(FrameStyleFor("0"), FrameStyle::Single);
    EXPECT_EQ(FrameStyleFor("1"), FrameStyle::None);
    EXPECT_EQ(FrameStyleFor("2"), FrameStyle::Sizeable);
    for (std::string_view text : {"5", "", "02", "2 ", "3", "-1"})
        EXPECT_FALSE(FrameStyleFor(text).has_value()) << "[" << text << "]";
    EXPECT_TRUE(StateFollowsSkin("2"));
    for (std::string_view text : {"0", "1", "5", "02", "2 ", ""})
        EXPECT_FALSE(StateFollowsSkin(text)) << "[" << text << "]";
}

TEST(WindowStateDecisions, FrameButtonsNeverIncludeHelp)
{
    EXPECT_EQ(FrameButtonsFrom(false, false, false), FrameButtons{});
    EXPECT_EQ(FrameButtonsFrom(true, true, true),
              (FrameButtons{.window_menu = true, .minimize = true, .maximize = true, .help = false}));
    EXPECT_EQ(FrameButtonsFrom(false, true, false), (FrameButtons{.minimize = true}));
}

}  // namespace
}  // namespace quillora
