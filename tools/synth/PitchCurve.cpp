#include "PitchCurve.h"

#include <algorithm>
#include <cmath>

namespace synth {

PitchCurve::PitchCurve(std::vector<std::pair<double, double>> points) : points(std::move(points)) {
    std::stable_sort(this->points.begin(), this->points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

double PitchCurve::frequencyAt(double t) const {
    if (points.empty()) return 0.0;
    if (t <= points.front().first) return points.front().second;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto& [endTime, endFrequency] = points[i];
        if (t < endTime) {
            const auto& [startTime, startFrequency] = points[i - 1];
            const double x = (t - startTime) / (endTime - startTime);
            return startFrequency * std::pow(endFrequency / startFrequency, x);
        }
    }
    return points.back().second;
}

} // namespace synth
