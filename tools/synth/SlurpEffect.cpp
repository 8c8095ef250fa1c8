#include "SlurpEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip SlurpEffect::render() const {
    constexpr double LENGTH = 0.35;
    const Envelope envelope(0.01, 0.08, 0.6, 0.12);
    const PitchCurve glide({{0.0, 700.0}, {0.3, 160.0}});
    Oscillator suck(SINE);
    Oscillator throat(TRIANGLE);
    NoiseGenerator noise(0x51u);
    OnePoleFilter wet(OnePoleFilter::LOW_PASS, 1400.0);
    OnePoleFilter noRumble(OnePoleFilter::HIGH_PASS, 150.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double f = glide.frequencyAt(t);
        const double bubbles = 0.65 + 0.35 * std::sin(2.0 * std::numbers::pi * 26.0 * t);
        wet.setCutoff(2.0 * f); // the noise follows the gliding pitch: a mouthful, not a hiss
        const double value = (0.7 * suck.next(f) + 0.25 * throat.next(0.5 * f)) * bubbles +
                             0.8 * noRumble.process(wet.process(noise.next()));
        return value * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
