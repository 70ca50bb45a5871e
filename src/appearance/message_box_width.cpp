#include "appearance/message_box_width.hpp"

#include <algorithm>
#include <cstdint>

namespace quillora {

int MessageWrapWidth(const MessageWidths& widths, int natural, const std::function<int(int)>& height_at)
{
    const int widest = std::max(widths.widest, 1);
    const int shortest = std::min(std::max(widths.shortest, 1), widest);
    const int readable = std::clamp(widths.readable, shortest, widest);
    if (natural <= readable) {
        return std::max(natural, shortest);
    }
    int height = height_at(readable);
    if (height <= widths.tallest || readable == widest) {
        return readable;
    }
    // Lines this much longer make about that much fewer of them; words that no longer fit at a
    // line's end make a few more, so it is tried again with what they need.
    const int most = std::min(widest, natural);
    int width = readable;
    for (int round = 0; round < 8 && height > widths.tallest && width < most; ++round) {
        const std::int64_t fitting = static_cast<std::int64_t>(width) * height / std::max(widths.tallest, 1) + 1;
        width = static_cast<int>(std::min<std::int64_t>(fitting, most));
        height = height_at(width);
    }
    return width;
}

}  // namespace quillora
