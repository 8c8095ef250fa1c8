#include "ThemeTune.h"

#include "Pitch.h"

#include <array>

namespace synth {

namespace {

// A sixteenth note of exactly 5400 samples: 0.1224 s, about 122.5 beats a minute.
constexpr std::size_t SAMPLES_PER_STEP = 5400;
constexpr int STEPS_PER_BAR = 16;
constexpr int BARS = 16;

// The chord of each bar as its root (MIDI) and whether it is minor:
// Dm Dm Bb C | Dm Dm Bb A | Gm Gm Dm Dm | Bb C A A, the last A leading back to the first Dm.
struct Chord {
    int root;
    bool minor;
};
// clang-format off
constexpr std::array<Chord, BARS> CHORDS = {{
    {50, true}, {50, true}, {46, false}, {48, false},
    {50, true}, {50, true}, {46, false}, {45, false},
    {43, true}, {43, true}, {50, true}, {50, true},
    {46, false}, {48, false}, {45, false}, {45, false}
}};
// clang-format on

constexpr const char* MELODY =
    "D5:2 -:2 D5:2 F5:2 A5:4 G5:2 F5:2 | E5:2 F5:2 D5:4 -:4 A4:4 | Bb4:2 D5:2 F5:4 Bb5:4 A5:2 G5:2 | "
    "A5:4 G5:2 E5:2 C5:4 E5:4 | D5:2 -:2 D5:2 F5:2 A5:4 C6:2 A5:2 | D6:6 C6:2 A5:4 F5:4 | "
    "G5:4 F5:2 D5:2 Bb4:4 D5:4 | C#5:4 E5:2 A5:2 G5:4 E5:4 | G4:2 Bb4:2 D5:4 G5:4 F5:2 D5:2 | "
    "Bb4:4 D5:2 G5:2 F5:4 D5:4 | A4:2 D5:2 F5:4 A5:4 G5:2 F5:2 | E5:4 D5:4 -:4 A4:4 | "
    "D5:4 F5:2 Bb5:2 A5:4 F5:4 | G5:4 E5:2 C5:2 E5:4 G5:4 | A5:6 G5:2 E5:4 C#5:4 | A4:4 C#5:4 E5:4 A5:2 -:2 "
    "|";

ToneInstrument::Settings leadSettings() {
    ToneInstrument::Settings s;
    s.waveform = SQUARE;
    s.pulseWidth = 0.3;
    s.envelope = Envelope(0.005, 0.12, 0.6, 0.09);
    s.cutoff = 3200.0;
    s.vibratoDepth = 0.18;
    s.vibratoRate = 6.0;
    s.vibratoDelay = 0.12;
    s.detune = 6.0;
    s.gain = 0.4;
    return s;
}

ToneInstrument::Settings stabSettings() {
    ToneInstrument::Settings s;
    s.waveform = SAW;
    s.envelope = Envelope(0.003, 0.1, 0.0, 0.04);
    s.cutoff = 1600.0;
    s.detune = 10.0;
    s.gain = 0.13;
    return s;
}

ToneInstrument::Settings bassSettings() {
    ToneInstrument::Settings s;
    s.waveform = SAW;
    s.envelope = Envelope(0.004, 0.12, 0.5, 0.06);
    s.cutoff = 700.0;
    s.gain = 0.55;
    return s;
}

DrumInstrument::Settings kickSettings() {
    DrumInstrument::Settings s;
    s.toneStart = 150.0;
    s.toneEnd = 45.0;
    s.toneDrop = 0.035;
    s.toneDecay = 0.25;
    s.noiseLevel = 0.1;
    s.noiseDecay = 0.01;
    s.gain = 0.85;
    return s;
}

DrumInstrument::Settings snareSettings() {
    DrumInstrument::Settings s;
    s.toneStart = 210.0;
    s.toneEnd = 170.0;
    s.toneDecay = 0.09;
    s.toneLevel = 0.35;
    s.noiseLevel = 0.8;
    s.noiseDecay = 0.15;
    s.highPass = 1000.0;
    s.lowPass = 9000.0;
    s.gain = 0.5;
    return s;
}

DrumInstrument::Settings hatSettings() {
    DrumInstrument::Settings s;
    s.toneLevel = 0.0;
    s.toneDecay = 0.001;
    s.noiseLevel = 1.0;
    s.noiseDecay = 0.03;
    s.highPass = 7500.0;
    s.lowPass = 15000.0;
    s.gain = 0.25;
    return s;
}

} // namespace

ThemeTune::ThemeTune()
    : lead(leadSettings()), stab(stabSettings()), bass(bassSettings()), kick(kickSettings()),
      snare(snareSettings()), hat(hatSettings()), sequencer(SAMPLES_PER_STEP, STEPS_PER_BAR, BARS) {
    sequencer.addMelody(lead, 0, MELODY, 1.0f, 0.85);

    for (int bar = 0; bar < BARS; ++bar) {
        const Chord& chord = CHORDS[static_cast<std::size_t>(bar)];
        const int start = bar * STEPS_PER_BAR;
        // Bass in eighths, jumping between the root and its octave: the engine of the tune.
        const int root = chord.root - 12;
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int note = eighth % 2 == 0 ? root : root + 12;
            sequencer.addNote(bass, start + 2 * eighth, 2, Pitch::frequency(note),
                              eighth % 4 == 0 ? 1.0f : 0.8f, 0.75);
        }
        // Short chord stabs on the off-beats of beats two and four.
        const std::array<int, 3> triad = {chord.root + 12, chord.root + (chord.minor ? 15 : 16),
                                          chord.root + 19};
        for (int step : {6, 14})
            for (int tone : triad)
                sequencer.addNote(stab, start + step, 1, Pitch::frequency(tone), 1.0f, 0.8);
    }

    sequencer.addRhythm(kick, 0, "X.......X.x.....", BARS);
    sequencer.addRhythm(snare, 0, "....X.......X...", BARS - 1);
    sequencer.addRhythm(snare, (BARS - 1) * STEPS_PER_BAR, "....X.......X.xx", 1);
    sequencer.addRhythm(hat, 0, "x.o.x.o.x.o.x.o.", BARS);
}

} // namespace synth
