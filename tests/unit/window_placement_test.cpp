#include "appearance/window_placement.hpp"

#include <climits>
#include <cstdint>
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
        {"1024", "768", true},                           // exactly the screen
        {"1025", "769", true},  {"$400", "$300", true},  // hexadecimal numbers convert too
        {"1025", "767", false},                          // wider but lower
        {"1023", "768", false}, {"800", "600", false},  {" 1024", "768", true}, {"-1", "768", false},
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
        {{1025, 769}, 800, 600, {112, 84}},    // odd differences round down
        {{1024, 768}, 1155, 899, {-65, -65}},  // -131 / 2 is -65, not -66
        {{1024, 768}, 1024, 768, {0, 0}},
        {{1024, 768}, 1025, 769, {0, 0}},  // -1 / 2 is 0
        {{0, 0}, 0, 0, {0, 0}},
        {{1920, 1080}, INT_MIN, INT_MAX, {1073742784, -1073741283}},  // no overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(CenteredOrigin(c.area, c.width, c.height), c.origin) << c.width << " x " << c.height;
}

TEST(FittedWindowBox, NeverLargerThanTheWorkAreaAndInsideItWhenCut)
{
    // A 1280 x 1024 screen whose work area leaves a 40-pixel panel at the top.
    constexpr ScreenSize screen{1280, 1024};
    constexpr WorkArea work_area{0, 40, 1280, 984};
    struct Case {
        std::int32_t width, height;
        WindowBox box;
    };
    // requested size -> box (left, top, width, height)
    const Case cases[] = {
        {800, 600, {240, 212, 800, 600}},  // fits: centred on the screen
        {1280, 984, {0, 20, 1280, 984}},   // exactly the work area: still centred
        {1280, 985, {0, 40, 1280, 984}},   // one pixel too high: cut, at the area's top
        {100000, 100000, {0, 40, 1280, 984}},
        {32767, 600, {0, 212, 1280, 600}},  // only the cut axis moves to the edge
        {640, 20000, {320, 40, 640, 984}},
        {INT32_MAX, INT32_MAX, {0, 40, 1280, 984}},
        {0, -5, {639, 511, 1, 1}},  // no side below one pixel
        {INT32_MIN, 300, {639, 362, 1, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittedWindowBox(screen, work_area, c.width, c.height), c.box) << c.width << " x " << c.height;
    // A work area that the platform reports empty still leaves a one-pixel window.
    EXPECT_EQ(FittedWindowBox(screen, WorkArea{}, 800, 600), (WindowBox{0, 0, 1, 1}));
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
