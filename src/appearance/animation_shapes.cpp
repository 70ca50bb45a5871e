#include "appearance/animation_shapes.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillora {

namespace {

constexpr AnimationShape ShapesInKindOrder[] = {
    AnimationShape::Ellipse,    AnimationShape::Rectangle, AnimationShape::Horizontally, AnimationShape::Vertically,
    AnimationShape::Television, AnimationShape::ToTop,     AnimationShape::ToBottom,
};

int ClampSide(int side)
{
    return std::clamp(side, 0, MaxWindowSide);
}

// Collects the regions of one sequence and tells when the list is full.
class RegionList {
public:
    // Every shape makes at most about one region per 2 pixels of the longer side.
    explicit RegionList(int capacity) : capacity_(static_cast<std::size_t>(capacity))
    {
        regions_.reserve(capacity_ / 2 + 1);
    }

    bool Full() const { return regions_.size() >= capacity_; }
    void Add(int left, int top, int right, int bottom, bool elliptic)
    {
        regions_.push_back(ShapeRegion{left, top, right, bottom, elliptic});
    }
    std::vector<ShapeRegion> Take() { return std::move(regions_); }

private:
    std::size_t capacity_;
    std::vector<ShapeRegion> regions_;
};

// Ellipse and rectangle: the inset grows by 2 on every side per step; once the vertical inset
// passes half the height, the horizontal inset jumps to the full width (an empty region), which
// ends the sequence at the next test.
void ShrinkToCentre(RegionList& list, int w, int h, bool elliptic)
{
    int x = 0;
    int y = 0;
    while (!list.Full() && x < w / 2) {
        y += 2;
        if (y > h / 2) x = w;
        list.Add(x, y, w - x, h - y, elliptic);
        x += 2;
    }
}

void CloseFromSides(RegionList& list, int w, int h)
{
    for (int x = 0; !list.Full() && x < w / 2; x += 2) list.Add(x, 0, w - x, h, false);
}

void CloseFromTopAndBottom(RegionList& list, int w, int h)
{
    int x = 0;
    int y = 0;
    while (!list.Full() && y < h / 2) {
        y += 2;
        if (y > h / 2) x = w;
        list.Add(x, y, w - x, h - y, false);
    }
}

// Television: close from top and bottom to a thin band, then close the band from the sides,
// 8 pixels a side per step.
void Television(RegionList& list, int w, int h)
{
    int x = 0;
    int y = 0;
    while (!list.Full()) {
        if (h / 2 > y + 2) {
            y += 2;
        } else {
            if (x + 6 >= w / 2) break;
            x += 8;
        }
        list.Add(x, y, w - x, h - y, false);
    }
}

void MoveEdge(RegionList& list, int w, int h, bool bottom_edge_up)
{
    for (int r = 0; !list.Full() && r < h;) {
        r += 2;
        if (bottom_edge_up)
            list.Add(0, 0, w, h - r, false);
        else
            list.Add(0, r, w, h, false);
    }
}

std::int64_t IntegerSquareRoot(std::int64_t value)
{
    auto root = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    while (root > 0 && root * root > value) --root;
    while ((root + 1) * (root + 1) <= value) ++root;
    return root;
}

void RasteriseEllipse(const ShapeRegion& box, std::vector<PixelRect>& out)
{
    // Half-pixel units: a pixel centre at column x lies X = 2x + 1 - (left + right) half pixels
    // from the vertical axis. Both sides are at most MaxWindowSide, so a^2 * b^2 < 2^60.
    const std::int64_t a = static_cast<std::int64_t>(box.right) - box.left;
    const std::int64_t b = static_cast<std::int64_t>(box.bottom) - box.top;
    const std::int64_t sum_x = static_cast<std::int64_t>(box.left) + box.right;
    const std::int64_t sum_y = static_cast<std::int64_t>(box.top) + box.bottom;
    const std::int64_t a2 = a * a;
    const std::int64_t b2 = b * b;
    // X has the parity of a + 1 (as X = 2x + 1 - sum_x and sum_x has the parity of a).
    const std::int64_t x_parity = (a + 1) & 1;
    out.reserve(static_cast<std::size_t>(b));
    for (int row = box.top; row < box.bottom; ++row) {
        const std::int64_t y = 2 * static_cast<std::int64_t>(row) + 1 - sum_y;
        // Largest |X| with X^2 * b^2 <= a^2 * (b^2 - Y^2).
        const std::int64_t limit = (a2 * (b2 - y * y)) / b2;
        std::int64_t reach = IntegerSquareRoot(limit);
        if ((reach & 1) != x_parity) --reach;
        if (reach < 0) continue;
        const std::int64_t first = (sum_x - 1 - reach) / 2;
        out.push_back(PixelRect{static_cast<int>(first), row, static_cast<int>(reach + 1), 1});
    }
}

// Keeps `count` regions at evenly spread positions, the first and the last among them.
std::vector<ShapeRegion> ThinnedToAtMost(std::vector<ShapeRegion> regions, std::size_t count)
{
    if (regions.size() <= count || count < 2) return regions;
    std::vector<ShapeRegion> kept;
    kept.reserve(count);
    const std::size_t last = regions.size() - 1;
    for (std::size_t i = 0; i < count; ++i) kept.push_back(regions[i * last / (count - 1)]);
    return kept;
}

}  // namespace

std::optional<AnimationEffect> EffectForKind(int animation_kind)
{
    if (animation_kind < 0 || animation_kind > 13) return std::nullopt;
    const auto direction = animation_kind % 2 == 0 ? AnimationDirection::Disappear : AnimationDirection::Appear;
    return AnimationEffect{ShapesInKindOrder[animation_kind / 2], direction};
}

std::vector<ShapeRegion> GenerateShapeRegions(AnimationShape shape, int width, int height)
{
    const int w = ClampSide(width);
    const int h = ClampSide(height);
    RegionList list(std::max(w, h));
    switch (shape) {
    case AnimationShape::Ellipse: ShrinkToCentre(list, w, h, true); break;
    case AnimationShape::Rectangle: ShrinkToCentre(list, w, h, false); break;
    case AnimationShape::Horizontally: CloseFromSides(list, w, h); break;
    case AnimationShape::Vertically: CloseFromTopAndBottom(list, w, h); break;
    case AnimationShape::Television: Television(list, w, h); break;
    case AnimationShape::ToTop: MoveEdge(list, w, h, true); break;
    case AnimationShape::ToBottom: MoveEdge(list, w, h, false); break;
    }
    return list.Take();
}

std::vector<ShapeRegion> EffectRegions(AnimationEffect effect, int width, int height)
{
    auto regions = ThinnedToAtMost(GenerateShapeRegions(effect.shape, width, height), MaxAnimationSteps);
    if (effect.direction == AnimationDirection::Appear) std::reverse(regions.begin(), regions.end());
    return regions;
}

void RasteriseRegion(const ShapeRegion& region, std::vector<PixelRect>& out)
{
    out.clear();
    if (region.IsEmpty()) return;
    const auto width = static_cast<std::int64_t>(region.right) - region.left;
    const auto height = static_cast<std::int64_t>(region.bottom) - region.top;
    // No window is larger than MaxWindowSide; a box beyond it cannot come from a window, and
    // rather than overflow the ellipse arithmetic it is returned whole.
    if (region.elliptic && width <= MaxWindowSide && height <= MaxWindowSide)
        RasteriseEllipse(region, out);
    else
        out.push_back(PixelRect{region.left, region.top, static_cast<int>(width), static_cast<int>(height)});
}

std::vector<PixelRect> RasteriseRegion(const ShapeRegion& region)
{
    std::vector<PixelRect> out;
    RasteriseRegion(region, out);
    return out;
}

}  // namespace quillora
