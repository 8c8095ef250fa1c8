#include "FlyBuzzEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip FlyBuzzEffect::render() const {
    constexpr double LENGTH = 0.7;
    constexpr double BASE_PITCH = 175.0;     // Hz, a house fly's wing-beat range
    constexpr double STRUGGLE_PERIOD = 0.08; // seconds between jerks
    const Envelope envelope(0.015, 0.05, 0.85, 0.12);
    Oscillator body(SAW);
    Oscillator rasp(SAW);
    NoiseGenerator jerks(0xF1F1F1u);
    NoiseGenerator grit(0xB0221u);
    OnePoleFilter tone(OnePoleFilter::LOW_PASS, 3200.0);

    double struggleTarget = 0.0;
    double struggle = 0.0;
    double nextJerk = 0.0;
    return AudioClip::generate(LENGTH, [&](double t) {
        if (t >= nextJerk) {
            struggleTarget = 0.12 * jerks.next();
            nextJerk += STRUGGLE_PERIOD;
        }
        struggle += (struggleTarget - struggle) * 0.002; // glide towards each jerk, no jumps
        const double wobble = 0.05 * std::sin(2.0 * std::numbers::pi * 7.0 * t);
        const double f = BASE_PITCH * (1.0 + wobble + struggle);
        const double wings = 0.6 + 0.4 * std::sin(2.0 * std::numbers::pi * 33.0 * t);
        const double value = 0.6 * body.next(f) + 0.35 * rasp.next(f * 2.01) + 0.12 * grit.next();
        return tone.process(value) * wings * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
