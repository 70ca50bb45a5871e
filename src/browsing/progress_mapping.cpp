#include "browsing/progress_mapping.hpp"

#include <algorithm>
#include <cmath>

namespace quillora {

std::vector<int> ProgressMapping::LoadStarted()
{
    loading_ = true;
    return {};
}

std::vector<int> ProgressMapping::Fraction(double fraction)
{
    std::vector<int> values;
    if (std::isnan(fraction)) {
        return values;
    }
    if (fraction >= 1.0) {
        if (loading_) {
            Report(100, values);
            loading_ = false;
            Report(0, values);
        }
    } else if (fraction <= 0.0) {
        return End();
    } else {
        loading_ = true;
        const auto percent = static_cast<int>(std::lround(fraction * 100.0));
        Report(std::clamp(percent, 1, 99), values);
    }
    return values;
}

std::vector<int> ProgressMapping::LoadEnded()
{
    return End();
}

std::vector<int> ProgressMapping::End()
{
    std::vector<int> values;
    if (loading_) {
        loading_ = false;
        Report(0, values);
    }
    return values;
}

void ProgressMapping::Report(int value, std::vector<int>& values)
{
    if (value != last_reported_) {
        last_reported_ = value;
        values.push_back(value);
    }
}

}  // namespace quillora
