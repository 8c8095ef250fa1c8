#pragma once

#include <utility>
#include <vector>

namespace synth {

/// A frequency that moves over time through a few points, gliding between neighbours along an
/// exponential path (equal musical intervals in equal times), the way a voice or a whistle slides.
class PitchCurve {
public:
    /// The curve through points of (time in seconds, frequency in Hz), sorted by time.
    explicit PitchCurve(std::vector<std::pair<double, double>> points);

    /// Frequency (Hz) at time t (seconds): the first point's before it, the last point's after.
    double frequencyAt(double t) const;

private:
    std::vector<std::pair<double, double>> points;
};

} // namespace synth
