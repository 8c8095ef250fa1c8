#include "PointsGainedEffect.h"

#include "Envelope.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "Pitch.h"

namespace synth {

AudioClip PointsGainedEffect::render() const {
    constexpr double FIRST_LENGTH = 0.07; // seconds of the first note
    constexpr double LENGTH = 0.25;
    const double first = Pitch::frequency(83);  // B5
    const double second = Pitch::frequency(88); // E6
    const Envelope firstEnvelope(0.003, 0.04, 0.7, 0.01);
    const Envelope secondEnvelope(0.003, 0.12, 0.3, 0.04);
    Oscillator blip(SQUARE, 0.25);
    OnePoleFilter tone(OnePoleFilter::LOW_PASS, 6000.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const bool firstNote = t < FIRST_LENGTH;
        const double f = firstNote ? first : second;
        const double level = firstNote
                                 ? firstEnvelope.levelEndingAt(t, FIRST_LENGTH)
                                 : secondEnvelope.levelEndingAt(t - FIRST_LENGTH, LENGTH - FIRST_LENGTH);
        return tone.process(blip.next(f)) * level;
    });
}

} // namespace synth
