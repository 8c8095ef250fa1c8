#pragma once

#include "Envelope.h"
#include "Instrument.h"
#include "Oscillator.h"

namespace synth {

/// A pitched voice: one or two slightly detuned oscillators with delayed vibrato, a low-pass filter
/// and a loudness envelope. Leads, basses and pads are all made of this with different settings.
class ToneInstrument : public Instrument {
public:
    /// How the voice sounds.
    struct Settings {
        Waveform waveform = TRIANGLE;            ///< shape of the main oscillator
        double pulseWidth = 0.5;                 ///< high part of a square's period (0..1)
        Envelope envelope{0.01, 0.1, 0.7, 0.15}; ///< loudness curve (seconds)
        double cutoff = 4000.0;                  ///< low-pass cutoff (Hz)
        double vibratoDepth = 0.0;               ///< vibrato depth (semitones)
        double vibratoRate = 5.5;                ///< vibrato speed (Hz)
        double vibratoDelay = 0.15;              ///< seconds before the vibrato fades in
        double detune = 0.0;                     ///< second oscillator's detune (cents); 0 = none
        double octaveLevel = 0.0;                ///< level of a sine an octave up (0..1)
        double gain = 1.0;                       ///< overall level
    };

    /// A voice with the given settings.
    explicit ToneInstrument(const Settings& settings);

    std::vector<float> renderNote(double frequency, std::size_t gateSamples, float velocity,
                                  std::uint32_t seed) const override;

private:
    Settings settings;
};

} // namespace synth
