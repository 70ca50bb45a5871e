#include "appearance/animation_playback.hpp"

#include <algorithm>

namespace quillora {

AnimationPlayback PlaybackFor(DisplayAbilities display)
{
    if (display.shapes) return AnimationPlayback::Shape;
    if (display.opacity) return AnimationPlayback::Fade;
    return AnimationPlayback::AtOnce;
}

double FadeOpacity(AnimationDirection direction, int step, int steps)
{
    if (steps <= 0) return direction == AnimationDirection::Appear ? 1.0 : 0.0;
    const double done = std::clamp(static_cast<double>(step) / steps, 0.0, 1.0);
    return direction == AnimationDirection::Appear ? done : 1.0 - done;
}

}  // namespace quillora
