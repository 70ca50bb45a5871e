#pragma once

#include <utility>
#include <vector>

namespace quillora {

// A page's size in points (1/72 inch), as the PDF gives it.
struct PageSize {
    double width = 0.0;
    double height = 0.0;
};

// A rectangle of the preview's content, in pixels; x and y are whole pixels.
struct PreviewRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

enum class ZoomMode { FitPage, FitWidth, Fixed };

// Where the pages of a print preview lie and how large they are drawn. The pages stand one below
// another, each centred, with a gap around and between them. The zoom either follows the
// viewport (a whole page fits, or the widest page's width fits) or is a fixed factor; a factor
// of 1 shows a page at its printed size on a 96-dpi screen.
class PreviewLayout {
public:
    static constexpr double kGap = 16.0;
    static constexpr double kMinZoom = 0.1;
    static constexpr double kMaxZoom = 8.0;

    explicit PreviewLayout(std::vector<PageSize> pages = {});

    void SetViewport(double width, double height);
    void SetZoomMode(ZoomMode mode);
    // A fixed zoom, kept within [kMinZoom, kMaxZoom].
    void SetZoom(double factor);
    // The next larger or smaller of the usual steps (25 %, 50 %, 100 %, ...), from whatever the
    // zoom is now, fitted ones included; the zoom becomes fixed.
    void ZoomIn();
    void ZoomOut();

    [[nodiscard]] ZoomMode Mode() const { return mode_; }
    // The zoom in force, also while it follows the viewport.
    [[nodiscard]] double Zoom() const;
    [[nodiscard]] bool CanZoomIn() const { return Zoom() < kMaxZoom; }
    [[nodiscard]] bool CanZoomOut() const { return Zoom() > kMinZoom; }

    [[nodiscard]] int PageCount() const { return static_cast<int>(pages_.size()); }
    [[nodiscard]] PageSize Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] PreviewRect PageRect(int index) const;
    // At least the viewport's width, so that narrow pages stand in the middle.
    [[nodiscard]] double ContentWidth() const;
    [[nodiscard]] double ContentHeight() const;

    // The pages that the band [top, bottom) of the content touches, as {first, last};
    // first > last when it touches none.
    [[nodiscard]] std::pair<int, int> PagesIn(double top, double bottom) const;
    // The page to call current while the viewport's top edge is at `scroll`: the one that shows
    // the most of itself, the earlier one on a tie; -1 without pages.
    [[nodiscard]] int PageAt(double scroll) const;
    // The scroll position that shows a page from its top, with the gap above it.
    [[nodiscard]] double ScrollFor(int index) const;

private:
    [[nodiscard]] double Scale() const;
    [[nodiscard]] double PageTop(int index) const;

    std::vector<PageSize> pages_;
    double widest_ = 0.0;
    double tallest_ = 0.0;
    double viewport_width_ = 0.0;
    double viewport_height_ = 0.0;
    ZoomMode mode_ = ZoomMode::FitPage;
    double fixed_zoom_ = 1.0;
};

}  // namespace quillora
