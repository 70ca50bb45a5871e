#include "appearance/message_box_width.hpp"

#include <algorithm>
#include <climits>

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(MessageWrapWidth, ShortTextsKeepTheirWidthLongOnesWrapAndVeryLongOnesWiden)
{
    // A text of `area` square pixels: its height is the area over the width it wraps at.
    // `extra` pixels more stand for the lines that words too long for a line's end add.
    const auto text_of = [](long long area, int extra) {
        return
            [area, extra](int width) { return static_cast<int>(std::min<long long>(area / width + extra, INT_MAX)); };
    };
    const MessageWidths widths{300, 400, 1000, 600};
    struct Case {
        const char* label;
        MessageWidths widths;
        int natural;
        long long area;
        int expected;
        int extra = 0;
    };
    // widths, unwrapped width, text area -> wrap width
    const Case cases[] = {
        {"a word", widths, 40, 40 * 20, 300},
        {"just under the shortest", widths, 299, 299 * 20, 300},
        {"between shortest and readable", widths, 350, 350 * 20, 350},
        {"exactly readable", widths, 400, 400 * 20, 400},
        {"one pixel too long", widths, 401, 401 * 20, 400},
        {"exactly as tall as allowed", widths, 5000, 400 * 600, 400},
        {"taller: widens to fit", widths, 5000, 800 * 600, 801},
        {"taller, with words at the lines' ends: widens until it fits", widths, 5000, 800 * 600, 872, 50},
        {"widens no wider than its own width", widths, 700, 800 * 600, 700},
        {"widens no wider than the work area allows", widths, 50000, 4000LL * 600, 1000},
        {"huge text", widths, INT_MAX, LLONG_MAX / 2, 1000},
        {"a work area narrower than the shortest line", {300, 400, 200, 600}, 40, 800, 200},
        {"a work area narrower than readable lines", {300, 400, 350, 600}, 5000, 350LL * 6000, 350},
        {"no work area at all", {300, 400, 0, 0}, 5000, 5000, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageWrapWidth(c.widths, c.natural, text_of(c.area, c.extra)), c.expected) << c.label;
    }
}

}  // namespace
}  // namespace quillora
