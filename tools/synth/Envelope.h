#pragma once

namespace synth {

/// An attack-decay-sustain-release loudness curve. Times are in seconds. The level rises linearly
/// from 0 to 1, falls to the sustain level, holds while the note is held, and after the note's
/// gate closes falls from wherever it was to exactly 0 over the release time.
class Envelope {
public:
    /// An envelope with the given attack, decay and release (seconds) and sustain level (0..1).
    Envelope(double attack, double decay, double sustain, double release);

    /// A percussive envelope: attack, then a fall to 0 over decay; nothing is held.
    static Envelope percussive(double attack, double decay);

    /// Loudness (0..1) at time t (seconds from the note's start) of a note held for gate seconds.
    double level(double t, double gate) const;

    /// Loudness (0..1) at time t (seconds) of a note held just long enough for its release to end at
    /// end (seconds): a sound that fills a clip of end seconds and dies out exactly with it.
    double levelEndingAt(double t, double end) const { return level(t, end - release); }

    /// Seconds from the note's start until the level is 0 for good, for a note held gate seconds.
    double length(double gate) const;

    /// Release time in seconds.
    double getRelease() const { return release; }

private:
    double heldLevel(double t) const;

    double attack;
    double decay;
    double sustain;
    double release;
};

} // namespace synth
