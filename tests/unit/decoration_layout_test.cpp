#include <gtest/gtest.h>

#include "appearance/decoration_layout.hpp"

namespace quillora {
namespace {

TEST(DecorationLayout, FollowsTheButtonsTheFrameShows)
{
    struct Case {
        FrameStyle style;
        FrameButtons buttons;
        const char* layout;
    };
    // frame style + buttons -> GTK decoration layout
    const Case cases[] = {
        {FrameStyle::Sizeable, {.window_menu = true, .minimize = true, .maximize = true}, ":minimize,maximize,close"},
        {FrameStyle::Single, {.window_menu = true}, ":close"},
        {FrameStyle::Sizeable, {}, ":"},
        // Without the window menu there are no minimise and maximise boxes either.
        {FrameStyle::Sizeable, {.minimize = true, .maximize = true}, ":"},
        // One of the two boxes shows both places; GTK shows the one that is there.
        {FrameStyle::Sizeable, {.window_menu = true, .maximize = true}, ":maximize,close"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecorationLayoutFor(c.style, c.buttons), c.layout) << c.layout;
    }
}

}  // namespace
}  // namespace quillora
