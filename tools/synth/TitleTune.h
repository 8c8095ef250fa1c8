#pragma once

#include "DrumInstrument.h"
#include "NoteSequencer.h"
#include "SoundPiece.h"
#include "ToneInstrument.h"

namespace synth {

/// The title screen's music: a calm, slightly eerie tune in A minor at 100 beats a minute, a
/// music-box arpeggio under a soft lead, with bass and light drums; twelve bars, 28.8 s, looping.
class TitleTune : public SoundPiece {
public:
    /// Composes the piece.
    TitleTune();

    TitleTune(const TitleTune&) = delete;
    TitleTune& operator=(const TitleTune&) = delete;

    std::string relativePath() const override { return "Audio/TitleSimple.wav"; }
    AudioClip render() const override { return sequencer.render(); }
    float targetPeak() const override { return 0.7f; }
    bool loops() const override { return true; }
    std::vector<std::string> problems() const override { return sequencer.problems(); }

private:
    ToneInstrument lead;
    ToneInstrument arpeggio;
    ToneInstrument bass;
    DrumInstrument kick;
    DrumInstrument snare;
    DrumInstrument hat;
    NoteSequencer sequencer;
};

} // namespace synth
