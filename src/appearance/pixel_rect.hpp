#pragma once

namespace quillora {

// A pixel rectangle: left and top edge, width and height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace quillora
