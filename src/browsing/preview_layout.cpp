#include "browsing/preview_layout.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace quillora {

namespace {

// Pixels per point at a zoom of 1: a 96-dpi screen.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

constexpr double kZoomSteps[] = {0.1, 0.25, 0.33, 0.5, 0.67, 0.8, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};

// Two zooms that differ by less than this are the same step (a fitted zoom of 0.9999 is 100 %).
constexpr double kSameStep = 1.001;

double Pixels(double points, double scale)
{
    return std::max(1.0, std::round(points * scale));
}

}  // namespace

PreviewLayout::PreviewLayout(std::vector<PageSize> pages) : pages_(std::move(pages))
{
    for (const PageSize& page : pages_) {
        widest_ = std::max(widest_, page.width);
        tallest_ = std::max(tallest_, page.height);
    }
}

void PreviewLayout::SetViewport(double width, double height)
{
    viewport_width_ = std::max(0.0, width);
    viewport_height_ = std::max(0.0, height);
}

void PreviewLayout::SetZoomMode(ZoomMode mode)
{
    if (mode == ZoomMode::Fixed) {
        fixed_zoom_ = Zoom();
    }
    mode_ = mode;
}

void PreviewLayout::SetZoom(double factor)
{
    fixed_zoom_ = std::clamp(factor, kMinZoom, kMaxZoom);
    mode_ = ZoomMode::Fixed;
}

void PreviewLayout::ZoomIn()
{
    const double now = Zoom();
    const auto* step =
        std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps), [&](double zoom) { return zoom > now * kSameStep; });
    SetZoom(step != std::end(kZoomSteps) ? *step : kMaxZoom);
}

void PreviewLayout::ZoomOut()
{
    const double now = Zoom();
    const auto step = std::find_if(std::rbegin(kZoomSteps), std::rend(kZoomSteps),
                                   [&](double zoom) { return zoom * kSameStep < now; });
    SetZoom(step != std::rend(kZoomSteps) ? *step : kMinZoom);
}

double PreviewLayout::Zoom() const
{
    if (mode_ == ZoomMode::Fixed || widest_ <= 0.0 || tallest_ <= 0.0) {
        return fixed_zoom_;
    }
    const double across = (viewport_width_ - 2 * kGap) / (widest_ * kPixelsPerPoint);
    const double down = (viewport_height_ - 2 * kGap) / (tallest_ * kPixelsPerPoint);
    const double fitted = mode_ == ZoomMode::FitWidth ? across : std::min(across, down);
    return std::clamp(fitted, kMinZoom, kMaxZoom);
}

double PreviewLayout::Scale() const
{
    return Zoom() * kPixelsPerPoint;
}

double PreviewLayout::PageTop(int index) const
{
    const double scale = Scale();
    double top = kGap;
    for (int i = 0; i < index; ++i) {
        top += Pixels(Page(i).height, scale) + kGap;
    }
    return top;
}

PreviewRect PreviewLayout::PageRect(int index) const
{
    const double scale = Scale();
    const double width = Pixels(Page(index).width, scale);
    const double height = Pixels(Page(index).height, scale);
    return {std::floor((ContentWidth() - width) / 2), PageTop(index), width, height};
}

double PreviewLayout::ContentWidth() const
{
    const double natural = pages_.empty() ? 0.0 : Pixels(widest_, Scale()) + 2 * kGap;
    return std::max(viewport_width_, natural);
}

double PreviewLayout::ContentHeight() const
{
    return PageTop(PageCount());
}

std::pair<int, int> PreviewLayout::PagesIn(double top, double bottom) const
{
    const double scale = Scale();
    int first = PageCount();
    int last = -1;
    double page_top = kGap;
    for (int i = 0; i < PageCount() && page_top < bottom; ++i) {
        const double page_bottom = page_top + Pixels(Page(i).height, scale);
        if (page_bottom > top) {
            first = std::min(first, i);
            last = i;
        }
        page_top = page_bottom + kGap;
    }
    return {first, last};
}

int PreviewLayout::PageAt(double scroll) const
{
    const double scale = Scale();
    const double bottom = scroll + viewport_height_;
    int best = PageCount() > 0 ? 0 : -1;
    double best_shown = 0.0;
    double page_top = kGap;
    for (int i = 0; i < PageCount(); ++i) {
        const double page_bottom = page_top + Pixels(Page(i).height, scale);
        const double shown = std::min(bottom, page_bottom) - std::max(scroll, page_top);
        // Without a visible part (a viewport of no height), the page the top edge has reached.
        if (shown > best_shown || (best_shown <= 0.0 && page_top <= scroll)) {
            best = i;
            best_shown = std::max(shown, 0.0);
        }
        page_top = page_bottom + kGap;
    }
    return best;
}

double PreviewLayout::ScrollFor(int index) const
{
    if (PageCount() == 0) {
        return 0.0;
    }
    const double top = PageTop(std::clamp(index, 0, PageCount() - 1)) - kGap;
    const double last = std::max(0.0, ContentHeight() - viewport_height_);
    return std::clamp(top, 0.0, last);
}

}  // namespace quillora
