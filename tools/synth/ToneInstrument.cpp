#include "ToneInstrument.h"

#include "AudioClip.h"
#include "OnePoleFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {

ToneInstrument::ToneInstrument(const Settings& settings) : settings(settings) {}

std::vector<float> ToneInstrument::renderNote(double frequency, std::size_t gateSamples, float velocity,
                                              std::uint32_t) const {
    const double rate = AudioClip::SAMPLE_RATE;
    const double gate = static_cast<double>(gateSamples) / rate;
    const auto length = static_cast<std::size_t>(std::ceil(settings.envelope.length(gate) * rate));
    std::vector<float> out(length, 0.0f);

    Oscillator main(settings.waveform, settings.pulseWidth);
    Oscillator second(settings.waveform, settings.pulseWidth);
    second.setPhase(0.37); // out of step with the first, so the pair does not start with a thump
    Oscillator octave(SINE);
    OnePoleFilter filter(OnePoleFilter::LOW_PASS, settings.cutoff);
    const double detuneRatio = std::pow(2.0, settings.detune / 1200.0);
    const double mix = settings.detune != 0.0 ? 0.5 : 1.0;

    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double vibratoFade = std::clamp((t - settings.vibratoDelay) / 0.2, 0.0, 1.0);
        const double bend =
            settings.vibratoDepth * vibratoFade * std::sin(2.0 * std::numbers::pi * settings.vibratoRate * t);
        const double f = frequency * std::pow(2.0, bend / 12.0);
        double value = main.next(f) * mix;
        if (settings.detune != 0.0) value += second.next(f * detuneRatio) * mix;
        if (settings.octaveLevel > 0.0) value += settings.octaveLevel * octave.next(2.0 * f);
        value = filter.process(value);
        out[i] = static_cast<float>(value * settings.envelope.level(t, gate) * velocity * settings.gain);
    }
    return out;
}

} // namespace synth
