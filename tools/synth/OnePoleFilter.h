#pragma once

namespace synth {

/// A one-pole low-pass or high-pass filter: a gentle 6 dB per octave slope, enough to soften a
/// waveform or to thin noise into a hiss. Its cutoff may change every sample for sweeps.
class OnePoleFilter {
public:
    /// Which side of the cutoff passes.
    enum Mode { LOW_PASS, HIGH_PASS };

    /// A filter of the given mode and cutoff frequency (Hz), starting from silence.
    OnePoleFilter(Mode mode, double cutoff);

    /// Changes the cutoff frequency (Hz).
    void setCutoff(double cutoff);

    /// Filters one input sample and returns the output sample.
    double process(double input);

private:
    Mode mode;
    double coefficient = 0.0;
    double lowState = 0.0;
};

} // namespace synth
