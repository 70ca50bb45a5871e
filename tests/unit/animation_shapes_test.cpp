#include "appearance/animation_shapes.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace quillora {
namespace {

constexpr AnimationShape AllShapes[] = {
    AnimationShape::Ellipse,    AnimationShape::Rectangle, AnimationShape::Horizontally, AnimationShape::Vertically,
    AnimationShape::Television, AnimationShape::ToTop,     AnimationShape::ToBottom,
};

std::set<std::pair<int, int>> Pixels(const ShapeRegion& region)
{
    std::set<std::pair<int, int>> pixels;
    for (const PixelRect& r : RasteriseRegion(region))
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) pixels.insert({x, y});
    return pixels;
}

std::int64_t Area(const std::vector<PixelRect>& rects)
{
    std::int64_t area = 0;
    for (const PixelRect& r : rects) area += static_cast<std::int64_t>(r.width) * r.height;
    return area;
}

TEST(AnimationShapes, RegionCountsOfAn800x600Window)
{
    // shape -> number of regions
    const std::pair<AnimationShape, std::size_t> cases[] = {
        {AnimationShape::Ellipse, 151},    {AnimationShape::Rectangle, 151},  {AnimationShape::Horizontally, 200},
        {AnimationShape::Vertically, 150}, {AnimationShape::Television, 199}, {AnimationShape::ToTop, 300},
        {AnimationShape::ToBottom, 300},
    };
    for (const auto& [shape, count] : cases)
        EXPECT_EQ(GenerateShapeRegions(shape, 800, 600).size(), count) << static_cast<int>(shape);
}

TEST(AnimationShapes, FirstRegionOfEachShape)
{
    // Every shape but horizontally already cuts 2 pixels off the window at its first step.
    const std::pair<AnimationShape, ShapeRegion> cases[] = {
        {AnimationShape::Ellipse, {0, 2, 800, 598, true}},       {AnimationShape::Rectangle, {0, 2, 800, 598, false}},
        {AnimationShape::Horizontally, {0, 0, 800, 600, false}}, {AnimationShape::Vertically, {0, 2, 800, 598, false}},
        {AnimationShape::Television, {0, 2, 800, 598, false}},   {AnimationShape::ToTop, {0, 0, 800, 598, false}},
        {AnimationShape::ToBottom, {0, 2, 800, 600, false}},
    };
    for (const auto& [shape, first] : cases)
        EXPECT_EQ(GenerateShapeRegions(shape, 800, 600).front(), first) << static_cast<int>(shape);
}

TEST(AnimationShapes, LastRegionsOfEachShape)
{
    // shape -> (second to last, last) of an 800 x 600 window
    const std::pair<AnimationShape, std::pair<ShapeRegion, ShapeRegion>> cases[] = {
        // The vertical inset reaches 300 at step 150 (no height), passes it at 151 (full width).
        {AnimationShape::Ellipse, {{298, 300, 502, 300, true}, {800, 302, 0, 298, true}}},
        {AnimationShape::Rectangle, {{298, 300, 502, 300, false}, {800, 302, 0, 298, false}}},
        {AnimationShape::Horizontally, {{396, 0, 404, 600, false}, {398, 0, 402, 600, false}}},
        {AnimationShape::Vertically, {{0, 298, 800, 302, false}, {0, 300, 800, 300, false}}},
        {AnimationShape::Television, {{392, 298, 408, 302, false}, {400, 298, 400, 302, false}}},
        {AnimationShape::ToTop, {{0, 0, 800, 2, false}, {0, 0, 800, 0, false}}},
        {AnimationShape::ToBottom, {{0, 598, 800, 600, false}, {0, 600, 800, 600, false}}},
    };
    for (const auto& [shape, ends] : cases) {
        const auto regions = GenerateShapeRegions(shape, 800, 600);
        ASSERT_GE(regions.size(), 2u);
        EXPECT_EQ(regions[regions.size() - 2], ends.first) << static_cast<int>(shape);
        EXPECT_EQ(regions.back(), ends.second) << static_cast<int>(shape);
        // Horizontally stops at a 4-pixel column; every other shape ends on an empty region.
        EXPECT_EQ(regions.back().IsEmpty(), shape != AnimationShape::Horizontally) << static_cast<int>(shape);
    }
}

TEST(AnimationShapes, TelevisionClosesTopAndBottomThenTheSides)
{
    const auto regions = GenerateShapeRegions(AnimationShape::Television, 800, 600);
    ASSERT_EQ(regions.size(), 199u);
    // 149 steps from top and bottom (y = 2 .. 298), then 50 from the sides (x = 8 .. 400).
    for (int i = 0; i < 149; ++i)
        EXPECT_EQ(regions[i], (ShapeRegion{0, 2 * (i + 1), 800, 600 - 2 * (i + 1), false})) << i;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(regions[149 + i], (ShapeRegion{8 * (i + 1), 298, 800 - 8 * (i + 1), 302, false})) << i;
}

TEST(AnimationShapes, WindowOfWidthOneHasNoEllipseRectangleOrHorizontalRegion)
{
    // shape -> regions for a window 1 x 600
    const std::pair<AnimationShape, std::size_t> cases[] = {
        {AnimationShape::Ellipse, 0},      {AnimationShape::Rectangle, 0},    {AnimationShape::Horizontally, 0},
        {AnimationShape::Vertically, 150}, {AnimationShape::Television, 149}, {AnimationShape::ToTop, 300},
        {AnimationShape::ToBottom, 300},
    };
    for (const auto& [shape, count] : cases)
        EXPECT_EQ(GenerateShapeRegions(shape, 1, 600).size(), count) << static_cast<int>(shape);
    for (int kind = 0; kind < 6; ++kind) EXPECT_TRUE(EffectRegions(*EffectForKind(kind), 1, 600).empty()) << kind;
}

TEST(AnimationShapes, EffectTableMapsTheFourteenKinds)
{
    using S = AnimationShape;
    using D = AnimationDirection;
    // animation_kind -> effect
    const std::pair<int, AnimationEffect> cases[] = {
        {0, {S::Ellipse, D::Disappear}},    {1, {S::Ellipse, D::Appear}},         {2, {S::Rectangle, D::Disappear}},
        {3, {S::Rectangle, D::Appear}},     {4, {S::Horizontally, D::Disappear}}, {5, {S::Horizontally, D::Appear}},
        {6, {S::Vertically, D::Disappear}}, {7, {S::Vertically, D::Appear}},      {8, {S::Television, D::Disappear}},
        {9, {S::Television, D::Appear}},    {10, {S::ToTop, D::Disappear}},       {11, {S::ToTop, D::Appear}},
        {12, {S::ToBottom, D::Disappear}},  {13, {S::ToBottom, D::Appear}},
    };
    for (const auto& [kind, effect] : cases) {
        ASSERT_TRUE(EffectForKind(kind).has_value()) << kind;
        EXPECT_EQ(*EffectForKind(kind), effect) << kind;
    }
    for (int kind : {-1, 14, 255, -2147483647 - 1, 2147483647}) EXPECT_FALSE(EffectForKind(kind).has_value()) << kind;
}

TEST(AnimationShapes, AppearPlaysTheRegionsFromTheSmallest)
{
    for (AnimationShape shape : AllShapes) {
        const auto generated = GenerateShapeRegions(shape, 640, 480);
        const auto disappear = EffectRegions({shape, AnimationDirection::Disappear}, 640, 480);
        auto appear = EffectRegions({shape, AnimationDirection::Appear}, 640, 480);
        EXPECT_EQ(disappear, generated);
        std::reverse(appear.begin(), appear.end());
        EXPECT_EQ(appear, generated);
    }
}

TEST(AnimationShapes, SmallWindowsStayWithinBoundsAndShrinkStepByStep)
{
    // For every small size: at most max(W, H) regions, every pixel inside the window, and each
    // region inside the one before (the window closes, it never reopens).
    for (AnimationShape shape : AllShapes) {
        for (int w = 0; w <= 24; ++w) {
            for (int h = 0; h <= 24; ++h) {
                const auto regions = GenerateShapeRegions(shape, w, h);
                ASSERT_LE(regions.size(), static_cast<std::size_t>(std::max(w, h)));
                std::set<std::pair<int, int>> previous;
                for (std::size_t i = 0; i < regions.size(); ++i) {
                    const auto pixels = Pixels(regions[i]);
                    for (const auto& [x, y] : pixels) {
                        ASSERT_TRUE(x >= 0 && x < w && y >= 0 && y < h)
                            << static_cast<int>(shape) << " " << w << "x" << h << " step " << i;
                        if (i > 0) {
                            ASSERT_TRUE(previous.count({x, y}))
                                << static_cast<int>(shape) << " " << w << "x" << h << " step " << i;
                        }
                    }
                    previous = pixels;
                }
            }
        }
    }
}

TEST(AnimationShapes, UnusableSizesGiveNoRegions)
{
    for (AnimationShape shape : AllShapes) {
        EXPECT_TRUE(GenerateShapeRegions(shape, 0, 0).empty());
        EXPECT_TRUE(GenerateShapeRegions(shape, -5, -800).empty());
    }
}

TEST(AnimationShapes, HugeSizesAreClampedToTheLargestWindow)
{
    const auto regions = GenerateShapeRegions(AnimationShape::ToTop, 100, 2'000'000'000);
    ASSERT_FALSE(regions.empty());
    EXPECT_EQ(regions.front(), (ShapeRegion{0, 0, 100, MaxWindowSide - 2, false}));
    EXPECT_EQ(regions.size(), static_cast<std::size_t>((MaxWindowSide + 1) / 2));
}

TEST(AnimationShapes, EffectsOfLargeWindowsPlayAtMostTheStepBound)
{
    // window size -> regions played: all of them up to the bound, else the bound, spread from
    // the largest region to the smallest (the strides between them grow, they never reopen).
    const std::pair<int, int> sizes[] = {{800, 600}, {1280, 1024}, {1920, 1080}, {100, MaxWindowSide}};
    for (AnimationShape shape : AllShapes) {
        for (const auto& [w, h] : sizes) {
            const auto generated = GenerateShapeRegions(shape, w, h);
            const auto played = EffectRegions({shape, AnimationDirection::Disappear}, w, h);
            ASSERT_EQ(played.size(), std::min(generated.size(), MaxAnimationSteps)) << w << "x" << h;
            EXPECT_EQ(played.front(), generated.front()) << w << "x" << h;
            EXPECT_EQ(played.back(), generated.back()) << w << "x" << h;
            // Every played region is a generated one, in the generated order.
            auto next = generated.begin();
            for (const ShapeRegion& region : played) {
                next = std::find(next, generated.end(), region);
                ASSERT_NE(next, generated.end()) << w << "x" << h;
                ++next;
            }
        }
    }
}

TEST(RasteriseRegion, BoxesAndEmptyRegions)
{
    // region -> rectangles
    EXPECT_EQ(RasteriseRegion({0, 2, 800, 598, false}), (std::vector<PixelRect>{{0, 2, 800, 596}}));
    EXPECT_TRUE(RasteriseRegion({298, 300, 502, 300, false}).empty());  // no height
    EXPECT_TRUE(RasteriseRegion({800, 302, 0, 298, false}).empty());    // inverted
    EXPECT_TRUE(RasteriseRegion({400, 298, 400, 302, true}).empty());   // no width
    EXPECT_TRUE(RasteriseRegion({800, 302, 0, 298, true}).empty());
}

TEST(RasteriseRegion, SmallEllipsesByHand)
{
    // box -> rows (pixel centres inside or on the ellipse)
    EXPECT_EQ(RasteriseRegion({0, 0, 4, 4, true}),
              (std::vector<PixelRect>{{1, 0, 2, 1}, {0, 1, 4, 1}, {0, 2, 4, 1}, {1, 3, 2, 1}}));
    EXPECT_EQ(RasteriseRegion({5, 7, 6, 8, true}), (std::vector<PixelRect>{{5, 7, 1, 1}}));
    EXPECT_EQ(RasteriseRegion({0, 0, 2, 1, true}), (std::vector<PixelRect>{{0, 0, 2, 1}}));
    EXPECT_EQ(RasteriseRegion({0, 0, 1, 3, true}), (std::vector<PixelRect>{{0, 0, 1, 1}, {0, 1, 1, 1}, {0, 2, 1, 1}}));
    // 3 x 3: the corner centres lie inside (X^2 + Y^2 = 8 <= 9 in half pixels).
    EXPECT_EQ(RasteriseRegion({0, 0, 3, 3, true}), (std::vector<PixelRect>{{0, 0, 3, 1}, {0, 1, 3, 1}, {0, 2, 3, 1}}));
    // 5 x 5: the corner centres of the outer rows lie outside (16 + 16 > 25), their neighbours
    // inside (4 + 16 <= 25).
    EXPECT_EQ(RasteriseRegion({0, 0, 5, 5, true}),
              (std::vector<PixelRect>{{1, 0, 3, 1}, {0, 1, 5, 1}, {0, 2, 5, 1}, {0, 3, 5, 1}, {1, 4, 3, 1}}));
}

TEST(RasteriseRegion, FirstEllipseOfAn800x600Window)
{
    const ShapeRegion first = GenerateShapeRegions(AnimationShape::Ellipse, 800, 600).front();
    const auto rows = RasteriseRegion(first);
    ASSERT_EQ(rows.size(), 596u);  // one rectangle per pixel row, none empty
    // Top row: X^2 <= 800^2 * (596^2 - 595^2) / 596^2 = 2145.8, X odd, so |X| <= 45: 46 pixels.
    EXPECT_EQ(rows.front(), (PixelRect{377, 2, 46, 1}));
    EXPECT_EQ(rows.back(), (PixelRect{377, 597, 46, 1}));
    EXPECT_EQ(rows[297], (PixelRect{0, 299, 800, 1}));
    // The area is close to pi * a * b / 4; rows cost at most one pixel at each end.
    const double expected = std::numbers::pi * 800.0 * 596.0 / 4.0;
    EXPECT_NEAR(static_cast<double>(Area(rows)), expected, 2.0 * 596);
}

TEST(RasteriseRegion, EllipsesAreSymmetricAndConvex)
{
    const ShapeRegion boxes[] = {
        {0, 0, 7, 5, true},       {3, 1, 40, 9, true},      {10, 20, 11, 80, true},
        {0, 0, 1919, 1079, true}, {-20, -10, 21, 11, true},
    };
    for (const ShapeRegion& box : boxes) {
        const auto rows = RasteriseRegion(box);
        ASSERT_FALSE(rows.empty());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const PixelRect& row = rows[i];
            const PixelRect& mirror = rows[rows.size() - 1 - i];
            EXPECT_EQ(row.height, 1);
            EXPECT_GE(row.x, box.left);
            EXPECT_LE(row.x + row.width, box.right);
            // Left-right symmetric about the box's middle, top-bottom mirrored.
            EXPECT_EQ(row.x - box.left, box.right - (row.x + row.width));
            EXPECT_EQ(row.y - box.top, box.bottom - 1 - mirror.y);
            EXPECT_EQ(row.width, mirror.width);
            // Widths grow to the middle row, then shrink.
            if (i > 0 && 2 * i <= rows.size()) {
                EXPECT_GE(row.width, rows[i - 1].width);
            }
        }
    }
}

TEST(RasteriseRegion, ReusesTheCallersBuffer)
{
    std::vector<PixelRect> buffer;
    RasteriseRegion({0, 0, 100, 50, true}, buffer);
    EXPECT_EQ(buffer.size(), 50u);
    RasteriseRegion({0, 0, 10, 10, false}, buffer);
    EXPECT_EQ(buffer, (std::vector<PixelRect>{{0, 0, 10, 10}}));
    RasteriseRegion({5, 5, 5, 5, false}, buffer);
    EXPECT_TRUE(buffer.empty());
}

TEST(RasteriseRegion, BoxLargerThanAnyWindowIsReturnedWhole)
{
    EXPECT_EQ(RasteriseRegion({0, 0, MaxWindowSide + 1, 10, true}),
              (std::vector<PixelRect>{{0, 0, MaxWindowSide + 1, 10}}));
}

}  // namespace
}  // namespace quillora
