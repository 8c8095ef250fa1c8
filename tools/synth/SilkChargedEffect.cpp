#include "SilkChargedEffect.h"

#include "Oscillator.h"
#include "Pitch.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {

namespace {

// A small bell: partials at the inharmonic ratios of a struck bar, the high ones dying first.
struct Partial {
    double ratio;
    double level;
    double decay; // seconds to fall to about a third
};
constexpr std::array<Partial, 4> BELL = {
    {{1.0, 1.0, 0.35}, {2.76, 0.45, 0.18}, {5.40, 0.22, 0.09}, {8.93, 0.1, 0.05}}};

void addBell(AudioClip& clip, double start, double frequency, double level) {
    const auto first = static_cast<std::size_t>(start * AudioClip::SAMPLE_RATE);
    for (const Partial& partial : BELL) {
        Oscillator ring(SINE);
        for (std::size_t i = first; i < clip.size(); ++i) {
            const double t = static_cast<double>(i - first) / AudioClip::SAMPLE_RATE;
            const double strike = std::min(1.0, t / 0.002);
            const double value =
                ring.next(frequency * partial.ratio) * partial.level * std::exp(-t / partial.decay);
            clip[i] += static_cast<float>(value * strike * level);
        }
    }
}

} // namespace

AudioClip SilkChargedEffect::render() const {
    constexpr double LENGTH = 0.9;
    constexpr double NOTE_GAP = 0.08; // seconds between the bells
    AudioClip clip = AudioClip::ofSeconds(LENGTH);
    const std::array<int, 4> arpeggio = {84, 88, 91, 96}; // C6 E6 G6 C7
    for (std::size_t n = 0; n < arpeggio.size(); ++n)
        addBell(clip, NOTE_GAP * static_cast<double>(n), Pitch::frequency(arpeggio[n]),
                n + 1 == arpeggio.size() ? 1.0 : 0.7);
    clip.fadeOut(0.15); // the last bell still rings faintly; let it die rather than stop
    return clip;
}

} // namespace synth
