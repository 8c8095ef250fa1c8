#include "Envelope.h"

#include <algorithm>

namespace synth {

Envelope::Envelope(double attack, double decay, double sustain, double release)
    : attack(std::max(0.0, attack)), decay(std::max(0.0, decay)), sustain(std::clamp(sustain, 0.0, 1.0)),
      release(std::max(0.0, release)) {}

Envelope Envelope::percussive(double attack, double decay) {
    return Envelope(attack, decay, 0.0, 0.0);
}

double Envelope::heldLevel(double t) const {
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    const double sinceDecay = t - attack;
    if (sinceDecay < decay) {
        // A squared curve falls fast at first, as plucked and struck things do.
        const double remaining = 1.0 - sinceDecay / decay;
        return sustain + (1.0 - sustain) * remaining * remaining;
    }
    return sustain;
}

double Envelope::level(double t, double gate) const {
    if (t < 0.0) return 0.0;
    if (t < gate) return heldLevel(t);
    const double start = heldLevel(gate);
    const double sinceRelease = t - gate;
    if (sinceRelease >= release) return 0.0;
    const double remaining = 1.0 - sinceRelease / release;
    return start * remaining * remaining;
}

double Envelope::length(double gate) const {
    if (sustain > 0.0) return gate + release;
    // A percussive sound may die out before its gate closes.
    return std::min(gate, attack + decay) + release;
}

} // namespace synth
