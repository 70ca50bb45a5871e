#include "browsing/zoom_steps.hpp"

#include <array>
#include <cmath>

namespace quillora {

namespace {

constexpr std::array<double, 13> Steps = {0.3, 0.5, 0.67, 0.8, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
// Levels read back from the engine may differ from a step in the last digits.
constexpr double Tolerance = 1e-3;

}  // namespace

double ZoomIn(double level)
{
    for (const double step : Steps) {
        if (step > level + Tolerance) return step;
    }
    return Steps.back();
}

double ZoomOut(double level)
{
    for (auto step = Steps.rbegin(); step != Steps.rend(); ++step) {
        if (*step < level - Tolerance) return *step;
    }
    return Steps.front();
}

int ZoomPercent(double level)
{
    return static_cast<int>(std::lround(level * 100.0));
}

}  // namespace quillora
