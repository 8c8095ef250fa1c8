#include "BounceEffect.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip BounceEffect::render() const {
    constexpr double LENGTH = 0.45;
    const Envelope envelope(0.003, 0.3, 0.3, 0.1);
    const PitchCurve boing({{0.0, 160.0}, {0.07, 520.0}, {0.42, 190.0}});
    Oscillator spring(SINE);
    Oscillator edge(TRIANGLE);

    return AudioClip::generate(LENGTH, [&](double t) {
        // The spring wobbles hard at first and settles.
        const double wobble = 0.08 * std::exp(-t / 0.15) * std::sin(2.0 * std::numbers::pi * 14.0 * t);
        const double f = boing.frequencyAt(t) * (1.0 + wobble);
        const double value = spring.next(f) + 0.3 * edge.next(f);
        return value * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
