#include <gtest/gtest.h>

#include <string>

#include "book_window_test.hpp"
#include "payload/setting_index.hpp"
#include "window/work_area.hpp"

namespace quillora {
namespace {

using test::BookWindowTest;
using test::Page;

TEST_F(BookWindowTest, AWindowLargerThanAnyScreenStaysWithinTheWorkAreaAndShowsItsPage)
{
    const WorkArea area = PrimaryWorkArea();
    const ScreenSize screen = PrimaryScreenSize();
    struct Case {
        std::string width, height;
    };
    // window_width x window_height -> the window and the page's view lie within the work area
    const Case cases[] = {
        {"100000", "100000"},
        {"32767", "600"},  // only the width is cut; no screen-fit, so not maximised
        {"640", "20000"},
        {std::to_string(screen.width + 131), std::to_string(screen.height + 3)},
    };
    for (const Case& c : cases) {
        settings[setting::window_width] = c.width;
        settings[setting::window_height] = c.height;
        ASSERT_TRUE(Start({{"index.html", Page("Home", "<p>Hello</p>")}})) << FirstReport();
        const std::string label = c.width + " x " + c.height;
        int width = 0;
        int height = 0;
        gtk_window_get_size(window->Window(), &width, &height);
        int left = 0;
        int top = 0;
        gtk_window_get_position(window->Window(), &left, &top);
        EXPECT_LE(width, area.width) << label;
        EXPECT_LE(height, area.height) << label;
        EXPECT_GE(left, area.x) << label;
        EXPECT_GE(top, area.y) << label;
        EXPECT_LE(left + width, area.x + area.width) << label;
        EXPECT_LE(top + height, area.y + area.height) << label;
        // The page is laid out for the view the reader sees, not for the size asked for.
        const int page_width = std::stoi(Script("return String(window.innerWidth);"));
        const int page_height = std::stoi(Script("return String(window.innerHeight);"));
        EXPECT_GT(page_width, 0) << label;
        EXPECT_GT(page_height, 0) << label;
        EXPECT_LE(page_width, width) << label;
        EXPECT_LE(page_height, height) << label;
        EXPECT_EQ(Script("return document.body.textContent;"), "Hello") << label;
    }
}

}  // namespace
}  // namespace quillora
