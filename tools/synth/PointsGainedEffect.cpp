#include "PointsGainedEffect.h"

#include "Envelope.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "Pitch.h"

#include <cstddef>

namespace synth {

AudioClip PointsGainedEffect::render() const {
    constexpr double FIRST_LENGTH = 0.07; // seconds of the first note
    constexpr double LENGTH = 0.25;
    AudioClip clip = AudioClip::ofSeconds(LENGTH);
    const double first = Pitch::frequency(83);  // B5
    const double second = Pitch::frequency(88); // E6
    const Envelope firstEnvelope(0.003, 0.04, 0.7, 0.01);
    const Envelope secondEnvelope(0.003, 0.12, 0.3, 0.04);
    Oscillator blip(SQUARE, 0.25);
    OnePoleFilter tone(OnePoleFilter::LOW_PASS, 6000.0);

    for (std::size_t i = 0; i < clip.size(); ++i) {
        const double t = static_cast<double>(i) / AudioClip::SAMPLE_RATE;
        const bool firstNote = t < FIRST_LENGTH;
        const double f = firstNote ? first : second;
        const double level = firstNote ? firstEnvelope.level(t, FIRST_LENGTH - 0.01)
                                       : secondEnvelope.level(t - FIRST_LENGTH, LENGTH - FIRST_LENGTH - 0.04);
        clip[i] = static_cast<float>(tone.process(blip.next(f)) * level);
    }
    return clip;
}

} // namespace synth
