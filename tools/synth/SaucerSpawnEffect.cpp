#include "SaucerSpawnEffect.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip SaucerSpawnEffect::render() const {
    constexpr double LENGTH = 1.4;
    const Envelope envelope(0.15, 0.1, 0.9, 0.4);
    const PitchCurve centre({{0.0, 500.0}, {0.6, 900.0}, {1.4, 650.0}});
    Oscillator beam(SINE);
    Oscillator shimmer(SINE);
    Oscillator hum(TRIANGLE);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double warble = 1.0 + 0.18 * std::sin(2.0 * std::numbers::pi * 7.0 * t);
        const double f = centre.frequencyAt(t) * warble;
        const double value = beam.next(f) + 0.4 * shimmer.next(f * 1.012) + 0.2 * hum.next(0.5 * f);
        return value * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
