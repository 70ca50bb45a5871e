#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "appearance/pixel_rect.hpp"

namespace quillora {

// The window animations: the window appears or disappears through a sequence of visible regions.
// This file only computes the regions; playing them on a window is the GTK side's business.

// All coordinates are window coordinates: origin at the window's top-left outer corner.

enum class AnimationShape { Ellipse, Rectangle, Horizontally, Vertically, Television, ToTop, ToBottom };
enum class AnimationDirection { Disappear, Appear };

struct AnimationEffect {
    AnimationShape shape;
    AnimationDirection direction;

    friend bool operator==(const AnimationEffect&, const AnimationEffect&) = default;
};

// The fourteen effects by `animation_kind`: even numbers disappear, odd numbers appear, two
// numbers per shape in the order of AnimationShape. Any other number has no effect.
std::optional<AnimationEffect> EffectForKind(int animation_kind);

// One region of a sequence: the box (left, top, right, bottom) that the shape's step computed,
// kept as computed, and whether the region is the ellipse inscribed in it or the box itself.
// A box whose right is not beyond its left, or whose bottom is not below its top, is an empty
// region (the steps that pass the window's middle produce such boxes on purpose).
struct ShapeRegion {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool elliptic = false;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const ShapeRegion&, const ShapeRegion&) = default;
};

// Window sides are clamped to 0..MaxWindowSide before anything is computed: no window system
// here makes a window larger, and the bound keeps the ellipse arithmetic exact in 64 bits.
inline constexpr int MaxWindowSide = 32767;

// The regions of a shape for a window of `width` x `height`, from the largest (first) to the
// smallest (last). Generation ends at the shape's end test, or once max(width, height) regions
// exist, whichever comes first (the regions generated until then are kept).
std::vector<ShapeRegion> GenerateShapeRegions(AnimationShape shape, int width, int height);

// The most steps an effect plays: with the 10 ms pause after each, no effect pauses for more
// than 3 s, whatever the window's size. Every shape of an 800 x 600 window stays within it.
inline constexpr std::size_t MaxAnimationSteps = 300;

// The regions in the order an effect plays them: a disappear effect from the first to the last,
// an appear effect from the last (smallest) to the first. A sequence longer than
// MaxAnimationSteps is thinned to that many regions, evenly spread, keeping its first and last:
// a larger window closes in longer strides rather than for longer.
std::vector<ShapeRegion> EffectRegions(AnimationEffect effect, int width, int height);

// The pixels of one region as disjoint rectangles, written into `out` (cleared first, so that a
// player can reuse one buffer for every step): nothing for an empty region, one rectangle for a
// box, one rectangle per pixel row for an ellipse.
//
// Ellipse rasterisation: a pixel belongs to the ellipse inscribed in the box when its centre lies
// inside or on the ellipse. With a = right - left and b = bottom - top, and the pixel centre
// measured from the box centre in half pixels (X = 2x + 1 - left - right, Y likewise), the test is
// X^2 * b^2 + Y^2 * a^2 <= a^2 * b^2, evaluated exactly in integers. Each row is therefore one
// run, symmetric about the box's vertical axis, and the rows are symmetric about its horizontal
// axis; a row whose run would be empty is left out.
void RasteriseRegion(const ShapeRegion& region, std::vector<PixelRect>& out);

// Convenience for tests and one-off callers.
std::vector<PixelRect> RasteriseRegion(const ShapeRegion& region);

}  // namespace quillora
