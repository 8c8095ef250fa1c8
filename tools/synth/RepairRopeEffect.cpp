#include "RepairRopeEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "PitchCurve.h"

namespace synth {

AudioClip RepairRopeEffect::render() const {
    constexpr double LENGTH = 0.6;
    const Envelope envelope(0.02, 0.05, 0.85, 0.08);
    const PitchCurve sweep({{0.0, 220.0}, {0.55, 1800.0}});
    const PitchCurve teethRate({{0.0, 28.0}, {0.55, 95.0}}); // zip teeth per second
    Oscillator zip(SAW);
    Oscillator teeth(SQUARE, 0.35);
    NoiseGenerator hiss(0x2E9A1u);
    OnePoleFilter tone(OnePoleFilter::LOW_PASS, 1000.0);
    OnePoleFilter teethSmoothing(OnePoleFilter::LOW_PASS, 400.0);
    OnePoleFilter hissFilter(OnePoleFilter::HIGH_PASS, 2500.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double f = sweep.frequencyAt(t);
        tone.setCutoff(2.5 * f);
        // Each tooth is a short burst; rounding the pulse edges keeps it a buzz, not a click train.
        const double tooth =
            0.3 + 0.7 * teethSmoothing.process(0.5 + 0.5 * teeth.next(teethRate.frequencyAt(t)));
        const double value = tone.process(zip.next(f)) + 0.25 * hissFilter.process(hiss.next());
        return value * tooth * envelope.levelEndingAt(t, LENGTH);
    });
}

} // namespace synth
