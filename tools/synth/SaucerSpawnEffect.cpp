#include "SaucerSpawnEffect.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip SaucerSpawnEffect::render() const {
    constexpr double LENGTH = 1.4;
    constexpr double RELEASE = 0.4;
    AudioClip clip = AudioClip::ofSeconds(LENGTH);
    const Envelope envelope(0.15, 0.1, 0.9, RELEASE);
    const PitchCurve centre({{0.0, 500.0}, {0.6, 900.0}, {1.4, 650.0}});
    Oscillator beam(SINE);
    Oscillator shimmer(SINE);
    Oscillator hum(TRIANGLE);

    for (std::size_t i = 0; i < clip.size(); ++i) {
        const double t = static_cast<double>(i) / AudioClip::SAMPLE_RATE;
        const double warble = 1.0 + 0.18 * std::sin(2.0 * std::numbers::pi * 7.0 * t);
        const double f = centre.frequencyAt(t) * warble;
        const double value = beam.next(f) + 0.4 * shimmer.next(f * 1.012) + 0.2 * hum.next(0.5 * f);
        clip[i] = static_cast<float>(value * envelope.level(t, LENGTH - RELEASE));
    }
    return clip;
}

} // namespace synth
