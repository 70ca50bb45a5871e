#pragma once

#include <functional>

namespace quillora {

// How wide a message box lays out its text, in pixels of text width (the box adds its frame).
struct MessageWidths {
    int shortest = 0;  // no narrower, however short the text: the box reads as a box
    int readable = 0;  // lines wrap here while the text fits the tallest box
    int widest = 0;    // never wider: what the work area leaves beside the box's frame
    int tallest = 0;   // the text height past which the box scrolls
};

// The width to wrap the text at. `natural` is the text's width unwrapped (its widest
// paragraph); `height_at(width)` is its height wrapped at `width`. A text that fits on readable
// lines keeps its own width, at least `shortest`; a longer one wraps at `readable`; one that
// would then be taller than `tallest` widens, up to `widest` and its own width, so that it
// scrolls as little as the work area allows.
int MessageWrapWidth(const MessageWidths& widths, int natural, const std::function<int(int)>& height_at);

}  // namespace quillora
