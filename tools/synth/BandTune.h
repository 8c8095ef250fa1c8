#pragma once

#include "DrumInstrument.h"
#include "NoteSequencer.h"
#include "SoundPiece.h"
#include "ToneInstrument.h"

#include <cstddef>
#include <string>
#include <vector>

namespace synth {

/// A looping tune for a small band, composed from a Score: a lead plays a written melody, chord
/// parts play the same figure over each bar's chord (arpeggios, basses, stabs) and drums repeat
/// one-bar patterns. The pieces of music are Scores; this class turns one into sound.
class BandTune : public SoundPiece {
public:
    /// The chord of one bar.
    struct Chord {
        int root;   ///< MIDI note of the root
        bool minor; ///< minor third instead of major
    };

    /// Chord tones a chord part sounds together at one step of every bar.
    struct ChordHit {
        int step;                 ///< step within the bar
        int length;               ///< steps held
        std::vector<int> degrees; ///< 0 root, 1 third, 2 fifth, 3 root an octave up, ...; -1 fifth below
        float velocity;           ///< loudness (0..1)
    };

    /// A voice that plays the same figure in every bar, moved to that bar's chord.
    struct ChordPart {
        ToneInstrument::Settings sound; ///< how the voice sounds
        int octave = 0;                 ///< octaves from the chord's root to degree 0 (negative: down)
        double legato = 0.9;            ///< fraction of each note's steps that sounds before the release
        std::vector<ChordHit> hits{};   ///< the figure of one bar, in the order the notes are added
    };

    /// A drum and its one-bar pattern, written as for NoteSequencer::addRhythm.
    struct DrumPart {
        DrumInstrument::Settings sound; ///< how the drum sounds
        std::string pattern;            ///< played in every bar
        std::string lastBar{};          ///< played in the last bar instead (a fill); empty: pattern
    };

    /// Everything that makes one tune.
    struct Score {
        std::string label;                 ///< the game's label of the music ("title-song")
        std::size_t samplesPerStep = 0;    ///< length of a step, a sixteenth note (samples)
        int stepsPerBar = 16;              ///< steps in a bar
        std::vector<Chord> chords;         ///< one per bar; their number is the number of bars
        ToneInstrument::Settings lead;     ///< how the lead sounds
        std::string melody;                ///< the lead's notes, written as for NoteSequencer::addMelody
        double leadLegato = 0.9;           ///< fraction of each lead note that sounds before the release
        std::vector<ChordPart> chordParts; ///< added bar by bar, in this order within each bar
        std::vector<DrumPart> drums;       ///< added after the chord parts, in this order
    };

    /// Composes the tune the score describes.
    explicit BandTune(const Score& score);

    BandTune(const BandTune&) = delete;
    BandTune& operator=(const BandTune&) = delete;

    std::string label() const override { return name; }
    AudioClip render() const override { return sequencer.render(); }
    float targetPeak() const override { return 0.7f; }
    bool loops() const override { return true; }
    std::vector<std::string> problems() const override;

private:
    void addChordParts(const Score& score);
    void addDrums(const Score& score);

    std::string name;
    // The sequencer points at these voices: they are filled once, before any note is added.
    ToneInstrument lead;
    std::vector<ToneInstrument> chordVoices;
    std::vector<DrumInstrument> drumVoices;
    NoteSequencer sequencer;
    std::vector<std::string> found;
};

} // namespace synth
