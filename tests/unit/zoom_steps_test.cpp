#include "browsing/zoom_steps.hpp"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(ZoomSteps, StepToTheNextLevelAndStopAtTheEnds)
{
    struct Case {
        double level;
        double in;   // level -> ZoomIn
        double out;  // level -> ZoomOut
    };
    const Case cases[] = {
        {1.0, 1.1, 0.9},        {3.0, 3.0, 2.5},  // the top stays
        {0.3, 0.5, 0.3},                          // the bottom stays
        {1.05, 1.1, 1.0},                         // between two steps: the nearer one in that direction
        {1.1000001, 1.25, 1.0},                   // a step read back with rounding noise is that step
        {5.0, 3.0, 3.0},                          // beyond the ends: back inside
        {0.1, 0.3, 0.3},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ZoomIn(c.level), c.in) << c.level;
        EXPECT_DOUBLE_EQ(ZoomOut(c.level), c.out) << c.level;
    }
    EXPECT_EQ(ZoomPercent(0.67), 67);
}

}  // namespace
}  // namespace quillora
