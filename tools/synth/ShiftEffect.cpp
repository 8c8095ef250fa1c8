#include "ShiftEffect.h"

#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip ShiftEffect::render() const {
    constexpr double LENGTH = 0.12;
    AudioClip clip = AudioClip::ofSeconds(LENGTH);
    Oscillator tick(SINE);
    NoiseGenerator air(0x5A1F7u);
    OnePoleFilter thin(OnePoleFilter::HIGH_PASS, 1500.0);
    OnePoleFilter soften(OnePoleFilter::LOW_PASS, 2000.0);

    for (std::size_t i = 0; i < clip.size(); ++i) {
        const double t = static_cast<double>(i) / AudioClip::SAMPLE_RATE;
        const double click = tick.next(1600.0) * std::exp(-t / 0.004);
        soften.setCutoff(2000.0 + 4000.0 * t / LENGTH); // the whoosh brightens as it passes
        const double swell = std::sin(std::numbers::pi * t / LENGTH);
        const double whoosh = soften.process(thin.process(air.next())) * swell * swell;
        clip[i] = static_cast<float>(0.7 * click + 0.9 * whoosh);
    }
    return clip;
}

} // namespace synth
