#include "window/message_box_width.hpp"

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
    const int height = height_at(readable);
    if (height <= widths.tallest || readable == widest) {
        return readable;
    }
    // Lines this much longer make about that much fewer of them.
    const std::int64_t fitting =
        static_cast<std::int64_t>(readable) * height / std::max(widths.tallest, 1) + 1;
    return static_cast<int>(std::min<std::int64_t>({fitting, widest, natural}));
}

}  // namespace quillora
