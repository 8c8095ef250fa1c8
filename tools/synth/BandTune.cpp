#include "BandTune.h"

#include "Pitch.h"

#include <array>

namespace synth {

namespace {

// The MIDI note of a chord tone counted from the chord's root, three tones to an octave (root,
// third, fifth); negative degrees count down from the root.
int chordTone(const BandTune::Chord& chord, int octave, int degree) {
    const std::array<int, 3> inOctave = {0, chord.minor ? 3 : 4, 7};
    const int index = (degree % 3 + 3) % 3;
    const int octaves = octave + (degree - index) / 3;
    return chord.root + 12 * octaves + inOctave[static_cast<std::size_t>(index)];
}

} // namespace

BandTune::BandTune(const Score& score)
    : name(score.label), lead(score.lead),
      sequencer(score.samplesPerStep, score.stepsPerBar, static_cast<int>(score.chords.size())) {
    if (score.chords.empty()) found.push_back("the score has no chords, so no bars");
    for (const ChordPart& part : score.chordParts)
        chordVoices.emplace_back(part.sound);
    for (const DrumPart& drum : score.drums)
        drumVoices.emplace_back(drum.sound);

    sequencer.addMelody(lead, 0, score.melody, 1.0f, score.leadLegato);
    addChordParts(score);
    addDrums(score);
}

std::vector<std::string> BandTune::problems() const {
    std::vector<std::string> all = found;
    all.insert(all.end(), sequencer.problems().begin(), sequencer.problems().end());
    return all;
}

void BandTune::addChordParts(const Score& score) {
    for (std::size_t bar = 0; bar < score.chords.size(); ++bar) {
        const Chord& chord = score.chords[bar];
        const int start = static_cast<int>(bar) * sequencer.getStepsPerBar();
        for (std::size_t p = 0; p < score.chordParts.size(); ++p) {
            const ChordPart& part = score.chordParts[p];
            for (const ChordHit& hit : part.hits) {
                for (int degree : hit.degrees)
                    sequencer.addNote(chordVoices[p], start + hit.step, hit.length,
                                      Pitch::frequency(chordTone(chord, part.octave, degree)), hit.velocity,
                                      part.legato);
            }
        }
    }
}

void BandTune::addDrums(const Score& score) {
    const int bars = sequencer.totalSteps() / sequencer.getStepsPerBar();
    const int lastBar = (bars - 1) * sequencer.getStepsPerBar();
    for (std::size_t d = 0; d < score.drums.size(); ++d) {
        const DrumPart& drum = score.drums[d];
        if (drum.lastBar.empty()) {
            sequencer.addRhythm(drumVoices[d], 0, drum.pattern, bars);
        } else {
            sequencer.addRhythm(drumVoices[d], 0, drum.pattern, bars - 1);
            sequencer.addRhythm(drumVoices[d], lastBar, drum.lastBar, 1);
        }
    }
}

} // namespace synth
