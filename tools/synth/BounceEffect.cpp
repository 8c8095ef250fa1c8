#include "BounceEffect.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip BounceEffect::render() const {
    constexpr double LENGTH = 0.45;
    constexpr double RELEASE = 0.1;
    AudioClip clip = AudioClip::ofSeconds(LENGTH);
    const Envelope envelope(0.003, 0.3, 0.3, RELEASE);
    const PitchCurve boing({{0.0, 160.0}, {0.07, 520.0}, {0.42, 190.0}});
    Oscillator spring(SINE);
    Oscillator edge(TRIANGLE);

    for (std::size_t i = 0; i < clip.size(); ++i) {
        const double t = static_cast<double>(i) / AudioClip::SAMPLE_RATE;
        // The spring wobbles hard at first and settles.
        const double wobble = 0.08 * std::exp(-t / 0.15) * std::sin(2.0 * std::numbers::pi * 14.0 * t);
        const double f = boing.frequencyAt(t) * (1.0 + wobble);
        const double value = spring.next(f) + 0.3 * edge.next(f);
        clip[i] = static_cast<float>(value * envelope.level(t, LENGTH - RELEASE));
    }
    return clip;
}

} // namespace synth
