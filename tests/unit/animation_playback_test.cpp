#include <gtest/gtest.h>

#include "appearance/animation_playback.hpp"

namespace quillora {
namespace {

TEST(AnimationPlayback, WhatTheDisplayCanDoDecidesHowTheEffectPlays)
{
    struct Case {
        bool shapes;
        bool opacity;
        AnimationPlayback playback;
    };
    // shapes, opacity -> playback
    const Case cases[] = {
        {true, true, AnimationPlayback::Shape},     // X11 with a compositing window manager
        {true, false, AnimationPlayback::Shape},    // X11 without one
        {false, true, AnimationPlayback::Fade},     // Wayland
        {false, false, AnimationPlayback::AtOnce},  // neither: no pause for nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaybackFor({.shapes = c.shapes, .opacity = c.opacity}), c.playback) << c.shapes << c.opacity;
    }
}

TEST(AnimationPlayback, FadesEndWhollyShownOrWhollyGone)
{
    struct Case {
        AnimationDirection direction;
        int step;
        int steps;
        double opacity;
    };
    constexpr auto Appear = AnimationDirection::Appear;
    constexpr auto Disappear = AnimationDirection::Disappear;
    // direction, step of steps -> opacity
    const Case cases[] = {
        {Appear, 1, 4, 0.25},
        {Appear, 2, 4, 0.5},
        {Appear, 4, 4, 1.0},
        {Disappear, 1, 4, 0.75},
        {Disappear, 4, 4, 0.0},
        // Out of range steps stay within 0..1; no steps at all is the end state.
        {Appear, 0, 4, 0.0},
        {Appear, 5, 4, 1.0},
        {Disappear, 9, 4, 0.0},
        {Appear, 1, 0, 1.0},
        {Disappear, 1, 0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(FadeOpacity(c.direction, c.step, c.steps), c.opacity)
            << static_cast<int>(c.direction) << " " << c.step << "/" << c.steps;
    }
}

}  // namespace
}  // namespace quillora
