#include "DrumInstrument.h"

#include "AudioClip.h"
#include "Envelope.h"
#include "NoiseGenerator.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"

#include <algorithm>
#include <cmath>

namespace synth {

DrumInstrument::DrumInstrument(const Settings& settings) : settings(settings) {}

std::vector<float> DrumInstrument::renderNote(double, std::size_t, float velocity, std::uint32_t seed) const {
    const double rate = AudioClip::SAMPLE_RATE;
    const Envelope body = Envelope::percussive(0.001, settings.toneDecay);
    const Envelope rattle = Envelope::percussive(0.0005, settings.noiseDecay);
    const double seconds = std::max(body.length(1.0), rattle.length(1.0));
    const auto length = static_cast<std::size_t>(std::ceil(seconds * rate));
    std::vector<float> out(length, 0.0f);

    Oscillator tone(SINE);
    NoiseGenerator noise(seed);
    OnePoleFilter highPass(OnePoleFilter::HIGH_PASS, settings.highPass);
    OnePoleFilter lowPass(OnePoleFilter::LOW_PASS, settings.lowPass);

    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double drop = std::exp(-t / std::max(settings.toneDrop, 1e-4));
        const double f = settings.toneEnd + (settings.toneStart - settings.toneEnd) * drop;
        double value = settings.toneLevel * body.level(t, 1.0) * tone.next(f);
        if (settings.noiseLevel > 0.0) {
            const double hiss = lowPass.process(highPass.process(noise.next()));
            value += settings.noiseLevel * rattle.level(t, 1.0) * hiss;
        }
        out[i] = static_cast<float>(value * velocity * settings.gain);
    }
    return out;
}

} // namespace synth
