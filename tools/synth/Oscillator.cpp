#include "Oscillator.h"

#include "AudioClip.h"

#include <cmath>
#include <numbers>

namespace synth {

namespace {

// Correction that rounds off a jump of height 2 at phase 0, given the phase step per sample.
double polyBlep(double t, double step) {
    if (t < step) {
        const double x = t / step;
        return x + x - x * x - 1.0;
    }
    if (t > 1.0 - step) {
        const double x = (t - 1.0) / step;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

double wrapPhase(double value) {
    return value - std::floor(value);
}

} // namespace

Oscillator::Oscillator(Waveform waveform, double pulseWidth) : waveform(waveform), pulseWidth(pulseWidth) {}

double Oscillator::next(double frequency) {
    const double step = std::fabs(frequency) / AudioClip::SAMPLE_RATE;
    double value = 0.0;
    switch (waveform) {
    case SINE:
        value = std::sin(2.0 * std::numbers::pi * phase);
        break;
    case TRIANGLE:
        value = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        break;
    case SAW:
        value = 2.0 * phase - 1.0 - polyBlep(phase, step);
        break;
    case SQUARE:
        value = phase < pulseWidth ? 1.0 : -1.0;
        value += polyBlep(phase, step);
        value -= polyBlep(wrapPhase(phase - pulseWidth), step);
        value -= 2.0 * pulseWidth - 1.0; // no DC offset for narrow pulses
        break;
    }
    phase = wrapPhase(phase + step);
    return value;
}

void Oscillator::setPhase(double newPhase) {
    phase = wrapPhase(newPhase);
}

} // namespace synth
