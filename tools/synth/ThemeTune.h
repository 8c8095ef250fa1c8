#pragma once

#include "DrumInstrument.h"
#include "NoteSequencer.h"
#include "SoundPiece.h"
#include "ToneInstrument.h"

namespace synth {

/// The music during play: a driving tune in D minor at about 122 beats a minute, a square-wave
/// lead over an octave-bouncing bass and a full drum beat; sixteen bars, about 31 s, looping.
class ThemeTune : public SoundPiece {
public:
    /// Composes the piece.
    ThemeTune();

    ThemeTune(const ThemeTune&) = delete;
    ThemeTune& operator=(const ThemeTune&) = delete;

    std::string relativePath() const override { return "Audio/TarnwickTheme.wav"; }
    AudioClip render() const override { return sequencer.render(); }
    float targetPeak() const override { return 0.7f; }
    bool loops() const override { return true; }
    std::vector<std::string> problems() const override { return sequencer.problems(); }

private:
    ToneInstrument lead;
    ToneInstrument stab;
    ToneInstrument bass;
    DrumInstrument kick;
    DrumInstrument snare;
    DrumInstrument hat;
    NoteSequencer sequencer;
};

} // namespace synth
