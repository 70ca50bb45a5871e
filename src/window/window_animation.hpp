#pragma once

#include <gtk/gtk.h>

#include <chrono>

#include "appearance/animation_playback.hpp"
#include "appearance/animation_shapes.hpp"

namespace quillora {

// `animacao_form`: plays an appear or disappear effect on a window by changing its visible
// region step by step, with a pause after each step. Where the display has no window shapes
// (Wayland) the same steps change the window's opacity; where it has neither, nothing is played.
class WindowAnimation {
public:
    static constexpr std::chrono::milliseconds StepPause{10};

    // Shows the window at once, then plays the effect's regions (or fades, or does neither). An appear effect ends with
    // the whole window visible; a disappear effect ends with the window hidden. Either way the window is left without a
    // shape. Returns false when the window was asked to close meanwhile: the effect stops at once and leaves the window
    // hidden.
    [[nodiscard]] bool Play(GtkWindow* window, AnimationEffect effect);

    // Steps played by the last effect, for tests and measurements.
    int LastStepCount() const { return last_step_count_; }
    // The last effect left the window shown or hidden as it ends; false when it played nothing
    // and the window is for the caller to show.
    bool LeftVisibility() const { return left_visibility_; }

private:
    bool Fade(GtkWindow* window, AnimationDirection direction, int steps, const bool& closed);

    int last_step_count_ = 0;
    bool left_visibility_ = false;
};

}  // namespace quillora
