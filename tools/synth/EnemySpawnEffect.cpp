#include "EnemySpawnEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip EnemySpawnEffect::render() const {
    constexpr double LENGTH = 1.2;
    const Envelope envelope(0.5, 0.2, 0.8, 0.4);
    const PitchCurve rise({{0.0, 42.0}, {1.1, 88.0}});
    Oscillator growl(SAW);
    Oscillator growlBeat(SAW); // a hair off, so the two beat slowly against each other
    Oscillator fifth(SAW);
    NoiseGenerator rumble(0xDEE9u);
    OnePoleFilter rumbleFilter(OnePoleFilter::LOW_PASS, 160.0);
    OnePoleFilter tone(OnePoleFilter::LOW_PASS, 200.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double f = rise.frequencyAt(t);
        tone.setCutoff(200.0 + 700.0 * t / LENGTH); // it opens up as it comes closer
        double value = 0.5 * growl.next(f) + 0.4 * growlBeat.next(f * 1.008) + 0.25 * fifth.next(f * 1.5);
        value = tone.process(value) + 2.5 * rumbleFilter.process(rumble.next());
        const double throb = 0.8 + 0.2 * std::sin(2.0 * std::numbers::pi * 6.0 * t);
        return value * throb * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
