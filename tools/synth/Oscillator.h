#pragma once

namespace synth {

/// The basic shapes an Oscillator can produce.
enum Waveform { SINE, TRIANGLE, SAW, SQUARE };

/// A phase-accumulating oscillator whose frequency may change every sample (glides, vibrato).
/// Saw and square edges are smoothed (polynomial band-limiting) so high notes do not alias harshly.
class Oscillator {
public:
    /// An oscillator of the given shape; pulseWidth (0..1) is the high part of a square's period.
    explicit Oscillator(Waveform waveform, double pulseWidth = 0.5);

    /// The next sample (-1..1) at the given frequency (Hz), then advances the phase by one sample.
    double next(double frequency);

    /// Sets the phase (0..1 of a period), e.g. to start a note at a zero crossing.
    void setPhase(double newPhase);

    /// The current phase (0..1 of a period).
    double getPhase() const { return phase; }

private:
    Waveform waveform;
    double pulseWidth;
    double phase = 0.0;
};

} // namespace synth
