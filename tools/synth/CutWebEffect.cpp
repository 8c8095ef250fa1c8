#include "CutWebEffect.h"

#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "PitchCurve.h"

#include <cmath>

namespace synth {

AudioClip CutWebEffect::render() const {
    constexpr double LENGTH = 0.45;
    const Envelope burst = Envelope::percussive(0.002, 0.3);
    const Envelope twang = Envelope::percussive(0.001, 0.4);
    const PitchCurve slack({{0.0, 330.0}, {0.4, 290.0}}); // the freed string loses tension
    NoiseGenerator noise(0xC077u);
    Oscillator crack(SINE);
    Oscillator string(SAW);
    OnePoleFilter burstFilter(OnePoleFilter::LOW_PASS, 5000.0);
    OnePoleFilter stringFilter(OnePoleFilter::LOW_PASS, 1500.0);

    return AudioClip::generate(LENGTH, [&](double t) {
        const double white = noise.next();
        const double snap =
            0.5 * white * std::exp(-t / 0.0015) + 0.4 * crack.next(2400.0) * std::exp(-t / 0.01);
        burstFilter.setCutoff(800.0 + 4200.0 * std::exp(-t / 0.08));
        const double rush = 1.2 * burstFilter.process(white) * burst.level(t, LENGTH);
        const double ring =
            0.3 * stringFilter.process(string.next(slack.frequencyAt(t))) * twang.level(t, LENGTH);
        return snap + rush + ring;
    });
}

} // namespace synth
