#include "OnePoleFilter.h"

#include "AudioClip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {

OnePoleFilter::OnePoleFilter(Mode mode, double cutoff) : mode(mode) {
    setCutoff(cutoff);
}

void OnePoleFilter::setCutoff(double cutoff) {
    const double nyquist = AudioClip::SAMPLE_RATE / 2.0;
    const double clamped = std::clamp(cutoff, 1.0, nyquist * 0.99);
    coefficient = 1.0 - std::exp(-2.0 * std::numbers::pi * clamped / AudioClip::SAMPLE_RATE);
}

double OnePoleFilter::process(double input) {
    lowState += coefficient * (input - lowState);
    return mode == LOW_PASS ? lowState : input - lowState;
}

} // namespace synth
