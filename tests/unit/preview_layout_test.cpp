#include "browsing/preview_layout.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace quillora {
namespace {

// 72 x 96 points: 96 x 128 pixels at a zoom of 1, so the expected numbers can be read off.
constexpr PageSize kPage{72, 96};
constexpr PageSize kWidePage{144, 96};
constexpr double kGap = PreviewLayout::kGap;

PreviewLayout Layout(std::vector<PageSize> pages, double width, double height)
{
    PreviewLayout layout(std::move(pages));
    layout.SetViewport(width, height);
    return layout;
}

TEST(PreviewLayout, FittedZoomFollowsTheViewport)
{
    struct Case {
        const char* name;
        ZoomMode mode;
        std::vector<PageSize> pages;
        double width, height;
        double zoom;
    };
    // mode, pages, viewport -> zoom
    const Case cases[] = {
        {"page fits exactly", ZoomMode::FitPage, {kPage}, 96 + 2 * kGap, 128 + 2 * kGap, 1.0},
        {"wide viewport: height decides", ZoomMode::FitPage, {kPage}, 224, 128 + 2 * kGap, 1.0},
        {"same viewport, fit width", ZoomMode::FitWidth, {kPage}, 224, 128 + 2 * kGap, 2.0},
        {"widest page decides", ZoomMode::FitWidth, {kPage, kWidePage}, 192 + 2 * kGap, 50, 1.0},
        {"tiny viewport: smallest zoom", ZoomMode::FitPage, {kPage}, 10, 10, PreviewLayout::kMinZoom},
        {"huge viewport: largest zoom", ZoomMode::FitWidth, {kPage}, 1e5, 10, PreviewLayout::kMaxZoom},
    };
    for (const Case& c : cases) {
        PreviewLayout layout = Layout(c.pages, c.width, c.height);
        layout.SetZoomMode(c.mode);
        EXPECT_DOUBLE_EQ(layout.Zoom(), c.zoom) << c.name;
    }
}

TEST(PreviewLayout, ZoomStepsFromAnyZoom)
{
    struct Case {
        double from;
        bool in;
        double to;
    };
    // zoom, direction -> next step
    // A fitted zoom a hair under a step counts as that step; the ends hold; SetZoom keeps 0.05 at
    // the smallest zoom first.
    const Case cases[] = {
        {1.0, true, 1.25}, {1.0, false, 0.8}, {0.9999, true, 1.25}, {1.1, false, 1.0},
        {0.3, true, 0.33}, {8.0, true, 8.0},  {0.1, false, 0.1},    {0.05, true, 0.25},
    };
    for (const Case& c : cases) {
        PreviewLayout layout({kPage});
        layout.SetZoom(c.from);
        c.in ? layout.ZoomIn() : layout.ZoomOut();
        EXPECT_DOUBLE_EQ(layout.Zoom(), c.to) << c.from << (c.in ? " in" : " out");
    }

    // Zooming from a fitted zoom starts from what is shown and fixes the zoom.
    PreviewLayout fitted = Layout({kPage}, 500, 0.9 * 128 + 2 * kGap);
    fitted.SetZoomMode(ZoomMode::FitPage);
    fitted.ZoomIn();
    EXPECT_EQ(fitted.Mode(), ZoomMode::Fixed);
    EXPECT_DOUBLE_EQ(fitted.Zoom(), 1.0);
    fitted.SetViewport(1000, 1000);
    EXPECT_DOUBLE_EQ(fitted.Zoom(), 1.0);
}

TEST(PreviewLayout, PagesStandBelowEachOtherCentred)
{
    PreviewLayout layout = Layout({kPage, kWidePage, kPage}, 400, 100);
    layout.SetZoom(1.0);
    // page 1: below page 0 and two gaps, 192 wide centred in 400
    const PreviewRect second = layout.PageRect(1);
    EXPECT_DOUBLE_EQ(second.x, 104);
    EXPECT_DOUBLE_EQ(second.y, kGap + 128 + kGap);
    EXPECT_DOUBLE_EQ(second.width, 192);
    EXPECT_DOUBLE_EQ(second.height, 128);
    EXPECT_DOUBLE_EQ(layout.ContentHeight(), kGap + 3 * (128 + kGap));
    // a viewport narrower than the widest page: the content is as wide as that page and its gaps
    layout.SetViewport(50, 100);
    EXPECT_DOUBLE_EQ(layout.ContentWidth(), 192 + 2 * kGap);
    EXPECT_DOUBLE_EQ(layout.PageRect(0).x, kGap + 48);
}

TEST(PreviewLayout, VisiblePagesAndCurrentPage)
{
    // Pages at y 16..144, 160..288, 304..432; viewport 100 high.
    PreviewLayout layout = Layout({kPage, kPage, kPage}, 200, 100);
    layout.SetZoom(1.0);

    struct Band {
        double top, bottom;
        int first, last;
    };
    // band -> pages it touches (first > last: none)
    const Band bands[] = {
        {0, 16, 3, -1},    // only the top gap
        {0, 17, 0, 0},     // one pixel row of page 0
        {144, 161, 1, 1},  // page 0 ends where the band starts
        {0, 1000, 0, 2},
    };
    for (const Band& b : bands) {
        EXPECT_EQ(layout.PagesIn(b.top, b.bottom), std::make_pair(b.first, b.last)) << b.top;
    }

    struct Scroll {
        double scroll;
        int page;
    };
    // scroll -> current page (the one showing most of itself, the earlier on a tie)
    const Scroll scrolls[] = {
        {0, 0},    {100, 0},  // 44 rows of page 0, 40 of page 1
        {110, 1},             // 34 against 50
        {102, 0},             // 42 each
        {1000, 2},            // past the end: the last page
    };
    for (const Scroll& s : scrolls) {
        EXPECT_EQ(layout.PageAt(s.scroll), s.page) << s.scroll;
    }
    // A viewport of no height: the page whose top the scroll position has reached.
    layout.SetViewport(200, 0);
    EXPECT_EQ(layout.PageAt(150), 0);
    EXPECT_EQ(layout.PageAt(160), 1);
    EXPECT_EQ(PreviewLayout().PageAt(0), -1);
}

TEST(PreviewLayout, ScrollingToAPageStopsAtTheEnd)
{
    PreviewLayout layout = Layout({kPage, kPage, kPage}, 200, 100);
    layout.SetZoom(1.0);
    // index -> scroll position (content 448 high)
    EXPECT_DOUBLE_EQ(layout.ScrollFor(0), 0);
    EXPECT_DOUBLE_EQ(layout.ScrollFor(1), 144);
    EXPECT_DOUBLE_EQ(layout.ScrollFor(2), 288);
    EXPECT_DOUBLE_EQ(layout.ScrollFor(9), 288);  // past the last page: the last page
    layout.SetViewport(200, 300);
    EXPECT_DOUBLE_EQ(layout.ScrollFor(2), 148);  // no further than the content's end
    EXPECT_DOUBLE_EQ(PreviewLayout().ScrollFor(3), 0);
}

}  // namespace
}  // namespace quillora
