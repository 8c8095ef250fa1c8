#pragma once

#include "Instrument.h"

namespace synth {

/// An unpitched hit made of a falling tone (the body) and filtered noise (the rattle): a kick is
/// mostly body, a snare both, a hi-hat only thin noise. The note's frequency is ignored.
class DrumInstrument : public Instrument {
public:
    /// How the drum sounds.
    struct Settings {
        double toneStart = 150.0; ///< body frequency at the hit (Hz)
        double toneEnd = 50.0;    ///< body frequency it falls to (Hz)
        double toneDrop = 0.05;   ///< seconds for the body to fall most of the way
        double toneDecay = 0.2;   ///< seconds until the body is silent
        double toneLevel = 1.0;   ///< body level (0..1)
        double noiseDecay = 0.05; ///< seconds until the noise is silent
        double noiseLevel = 0.0;  ///< noise level (0..1)
        double highPass = 200.0;  ///< noise high-pass cutoff (Hz)
        double lowPass = 12000.0; ///< noise low-pass cutoff (Hz)
        double gain = 1.0;        ///< overall level
    };

    /// A drum with the given settings.
    explicit DrumInstrument(const Settings& settings);

    std::vector<float> renderNote(double frequency, std::size_t gateSamples, float velocity,
                                  std::uint32_t seed) const override;

private:
    Settings settings;
};

} // namespace synth
