#include "PlayerFallEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip PlayerFallEffect::render() const {
    constexpr double LENGTH = 1.3;
    const Envelope envelope(0.02, 0.001, 1.0, 0.4);
    const PitchCurve drop({{0.0, 1700.0}, {1.25, 220.0}});
    Oscillator whistle(SINE);
    Oscillator overtone(SINE);
    NoiseGenerator air(0xFA11u);
    OnePoleFilter breath(OnePoleFilter::HIGH_PASS, 3000.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double f = drop.frequencyAt(t) * (1.0 + 0.015 * std::sin(2.0 * std::numbers::pi * 6.0 * t));
        const double value =
            whistle.next(f) + 0.15 * overtone.next(2.0 * f) + 0.05 * breath.process(air.next());
        return value * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
