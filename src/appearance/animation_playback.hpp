#pragma once

#include "appearance/animation_shapes.hpp"

namespace quillora {

// How an opening or closing animation is played on the display at hand. X11 shapes the window
// step by step; Wayland has no visible window shape, but its compositors blend a window with
// what lies below it, so there the same steps fade it instead. A display that can do neither
// shows (or hides) the window at once rather than pausing for steps nobody sees.

struct DisplayAbilities {
    bool shapes = false;   // the visible region of a window can be set
    bool opacity = false;  // a window can be drawn translucent over what lies below it
};

enum class AnimationPlayback { Shape, Fade, AtOnce };

AnimationPlayback PlaybackFor(DisplayAbilities display);

// The window's opacity after step `step` (1-based) of a fade of `steps` steps: rising to 1 at the
// last step of an appear effect, falling to 0 at the last step of a disappear effect.
double FadeOpacity(AnimationDirection direction, int step, int steps);

}  // namespace quillora
