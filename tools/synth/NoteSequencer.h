#pragma once

#include "AudioClip.h"
#include "Instrument.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace synth {

/// Lays notes out on a grid of equal steps (sixteenth notes, say) over a whole number of bars and
/// renders them into one looping clip. The clip is exactly bars x steps per bar x samples per step
/// long, and notes still sounding at its end carry on at its start, so the piece loops seamlessly.
class NoteSequencer {
public:
    /// A sequence of bars bars of stepsPerBar steps, each step samplesPerStep samples long.
    NoteSequencer(std::size_t samplesPerStep, int stepsPerBar, int bars);

    /// Adds one note at step (from the start of the piece), held for lengthSteps steps (of which
    /// the fraction legato sounds before the release), of the given frequency (Hz) and velocity.
    void addNote(const Instrument& instrument, int step, int lengthSteps, double frequency, float velocity,
                 double legato = 0.9);

    /// Adds a melody written as space-separated tokens "NAME:STEPS" ("C#5:2") or "-:STEPS" for a
    /// rest, starting at step; "|" marks a bar line and must fall on one. Returns the step after
    /// the last token. Mistakes are recorded in problems() and the token is skipped.
    int addMelody(const Instrument& instrument, int step, std::string_view tokens, float velocity,
                  double legato = 0.9);

    /// Adds hits written one character per step: 'X' loud, 'x' normal, 'o' soft, '.' nothing,
    /// '|' and spaces ignored (for readability). The pattern repeats times times from step.
    void addRhythm(const Instrument& instrument, int step, std::string_view pattern, int times);

    /// Renders every note into a clip of totalSamples(), release tails wrapped round to the start.
    AudioClip render() const;

    /// Number of steps in the piece.
    int totalSteps() const { return stepsPerBar * bars; }

    /// Number of samples in the piece.
    std::size_t totalSamples() const { return samplesPerStep * static_cast<std::size_t>(totalSteps()); }

    /// Steps per bar.
    int getStepsPerBar() const { return stepsPerBar; }

    /// Descriptions of the mistakes found in melodies and rhythms, in the order found.
    const std::vector<std::string>& problems() const { return found; }

private:
    struct Note {
        const Instrument* instrument;
        int step;
        int lengthSteps;
        double frequency;
        float velocity;
        double legato;
    };

    std::size_t samplesPerStep;
    int stepsPerBar;
    int bars;
    std::vector<Note> notes;
    std::vector<std::string> found;
};

} // namespace synth
