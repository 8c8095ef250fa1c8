#include "NoteSequencer.h"

#include "Pitch.h"

#include <charconv>
#include <cmath>

namespace synth {

NoteSequencer::NoteSequencer(std::size_t samplesPerStep, int stepsPerBar, int bars)
    : samplesPerStep(samplesPerStep), stepsPerBar(stepsPerBar > 0 ? stepsPerBar : 1),
      bars(bars > 0 ? bars : 1) {}

void NoteSequencer::addNote(const Instrument& instrument, int step, int lengthSteps, double frequency,
                            float velocity, double legato) {
    if (step < 0 || step >= totalSteps()) {
        found.push_back("note at step " + std::to_string(step) + " lies outside the piece");
        return;
    }
    if (lengthSteps <= 0) {
        found.push_back("note at step " + std::to_string(step) + " has no length");
        return;
    }
    notes.push_back({&instrument, step, lengthSteps, frequency, velocity, legato});
}

int NoteSequencer::addMelody(const Instrument& instrument, int step, std::string_view tokens, float velocity,
                             double legato) {
    std::size_t position = 0;
    while (position < tokens.size()) {
        while (position < tokens.size() && tokens[position] == ' ')
            ++position;
        if (position >= tokens.size()) break;
        std::size_t end = tokens.find(' ', position);
        if (end == std::string_view::npos) end = tokens.size();
        const std::string_view token = tokens.substr(position, end - position);
        position = end;

        if (token == "|") {
            if (step % stepsPerBar != 0)
                found.push_back("bar line at step " + std::to_string(step) + " is not on a bar");
            continue;
        }
        const std::size_t colon = token.find(':');
        int length = 0;
        const char* lengthEnd = token.data() + token.size();
        if (colon == std::string_view::npos ||
            std::from_chars(token.data() + colon + 1, lengthEnd, length).ptr != lengthEnd || length <= 0) {
            found.push_back("malformed token \"" + std::string(token) + "\"");
            continue;
        }
        const std::string_view name = token.substr(0, colon);
        if (name != "-") {
            const auto midi = Pitch::parse(name);
            if (midi)
                addNote(instrument, step, length, Pitch::frequency(*midi), velocity, legato);
            else
                found.push_back("unknown note name \"" + std::string(name) + "\"");
        }
        step += length;
    }
    return step;
}

void NoteSequencer::addRhythm(const Instrument& instrument, int step, std::string_view pattern, int times) {
    for (int repeat = 0; repeat < times; ++repeat) {
        for (char hit : pattern) {
            if (hit == ' ' || hit == '|') continue;
            switch (hit) {
            case 'X':
                addNote(instrument, step, 1, 0.0, 1.0f);
                break;
            case 'x':
                addNote(instrument, step, 1, 0.0, 0.75f);
                break;
            case 'o':
                addNote(instrument, step, 1, 0.0, 0.45f);
                break;
            case '.':
                break;
            default:
                found.push_back(std::string("unknown hit '") + hit + "'");
                break;
            }
            ++step;
        }
    }
}

AudioClip NoteSequencer::render() const {
    AudioClip clip(totalSamples());
    std::uint32_t index = 0;
    for (const Note& note : notes) {
        const auto gate = static_cast<std::size_t>(
            std::llround(static_cast<double>(note.lengthSteps * samplesPerStep) * note.legato));
        // Each note's noise gets its own fixed seed, so hits differ yet every run is identical.
        const std::uint32_t seed = 0x5EED0000u + 7919u * ++index;
        const auto samples = note.instrument->renderNote(note.frequency, gate, note.velocity, seed);
        clip.mixIn(static_cast<std::size_t>(note.step) * samplesPerStep, samples, true);
    }
    return clip;
}

} // namespace synth
