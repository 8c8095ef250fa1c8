#include "ShiftEffect.h"

#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"

#include <cmath>
#include <numbers>

namespace synth {

AudioClip ShiftEffect::render() const {
    constexpr double LENGTH = 0.12;
    Oscillator tick(SINE);
    NoiseGenerator air(0x5A1F7u);
    OnePoleFilter thin(OnePoleFilter::HIGH_PASS, 1500.0);
    OnePoleFilter soften(OnePoleFilter::LOW_PASS, 2000.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double click = tick.next(1600.0) * std::exp(-t / 0.004);
        soften.setCutoff(2000.0 + 4000.0 * t / LENGTH); // the whoosh brightens as it passes
        const double swell = std::sin(std::numbers::pi * t / LENGTH);
        const double whoosh = soften.process(thin.process(air.next())) * swell * swell;
        return 0.7 * click + 0.9 * whoosh;
    });
}

} // namespace synth
