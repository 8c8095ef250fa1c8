#include "TitleTune.h"

#include "Pitch.h"

#include <array>

namespace synth {

namespace {

// 100 beats a minute: a sixteenth note is 0.15 s, an exact 6615 samples.
constexpr std::size_t SAMPLES_PER_STEP = 6615;
constexpr int STEPS_PER_BAR = 16;
constexpr int BARS = 12;

// The chord of each bar as its root (MIDI) and whether it is minor:
// Am F C G | Am F Dm E | Am F G E, the last E leading back to the first Am.
struct Chord {
    int root;
    bool minor;
};
// clang-format off
constexpr std::array<Chord, BARS> CHORDS = {{
    {57, true}, {53, false}, {48, false}, {55, false},
    {57, true}, {53, false}, {50, true}, {52, false},
    {57, true}, {53, false}, {55, false}, {52, false}
}};
// clang-format on

constexpr const char* MELODY =
    "E5:4 A4:2 C5:2 E5:4 D5:2 C5:2 | A4:6 C5:2 F5:4 E5:4 | G4:4 C5:2 E5:2 G5:4 E5:4 | D5:6 B4:2 G4:8 | "
    "E5:4 A5:2 G5:2 E5:4 C5:4 | F5:4 E5:2 D5:2 C5:4 A4:4 | D5:4 F5:2 A5:2 G5:4 F5:4 | E5:6 D5:2 B4:4 G#4:4 | "
    "A4:4 C5:2 E5:2 A5:6 G5:2 | F5:4 A5:2 F5:2 C5:8 | D5:4 G5:2 D5:2 B4:4 D5:4 | E5:8 G#4:4 B4:4 |";

ToneInstrument::Settings leadSettings() {
    ToneInstrument::Settings s;
    s.waveform = TRIANGLE;
    s.envelope = Envelope(0.012, 0.25, 0.55, 0.3);
    s.cutoff = 5000.0;
    s.vibratoDepth = 0.12;
    s.vibratoRate = 5.0;
    s.octaveLevel = 0.15;
    s.gain = 0.55;
    return s;
}

ToneInstrument::Settings arpeggioSettings() {
    ToneInstrument::Settings s;
    s.waveform = SQUARE;
    s.pulseWidth = 0.25;
    s.envelope = Envelope(0.004, 0.18, 0.0, 0.05);
    s.cutoff = 1800.0;
    s.gain = 0.16;
    return s;
}

ToneInstrument::Settings bassSettings() {
    ToneInstrument::Settings s;
    s.waveform = SQUARE;
    s.envelope = Envelope(0.008, 0.2, 0.6, 0.12);
    s.cutoff = 500.0;
    s.gain = 0.5;
    return s;
}

DrumInstrument::Settings kickSettings() {
    DrumInstrument::Settings s;
    s.toneStart = 120.0;
    s.toneEnd = 48.0;
    s.toneDrop = 0.03;
    s.toneDecay = 0.22;
    s.noiseLevel = 0.08;
    s.noiseDecay = 0.01;
    s.gain = 0.6;
    return s;
}

DrumInstrument::Settings snareSettings() {
    DrumInstrument::Settings s;
    s.toneStart = 200.0;
    s.toneEnd = 180.0;
    s.toneDecay = 0.08;
    s.toneLevel = 0.3;
    s.noiseLevel = 0.7;
    s.noiseDecay = 0.12;
    s.highPass = 1200.0;
    s.lowPass = 8000.0;
    s.gain = 0.32;
    return s;
}

DrumInstrument::Settings hatSettings() {
    DrumInstrument::Settings s;
    s.toneLevel = 0.0;
    s.toneDecay = 0.001;
    s.noiseLevel = 1.0;
    s.noiseDecay = 0.035;
    s.highPass = 7000.0;
    s.lowPass = 14000.0;
    s.gain = 0.2;
    return s;
}

} // namespace

TitleTune::TitleTune()
    : lead(leadSettings()), arpeggio(arpeggioSettings()), bass(bassSettings()), kick(kickSettings()),
      snare(snareSettings()), hat(hatSettings()), sequencer(SAMPLES_PER_STEP, STEPS_PER_BAR, BARS) {
    sequencer.addMelody(lead, 0, MELODY, 1.0f, 0.92);

    // Under each chord: a music-box arpeggio up and down its notes, and a walking root-fifth bass.
    constexpr std::array<int, 8> ARPEGGIO_ORDER = {0, 1, 2, 3, 2, 1, 0, 1};
    for (int bar = 0; bar < BARS; ++bar) {
        const Chord& chord = CHORDS[static_cast<std::size_t>(bar)];
        const int start = bar * STEPS_PER_BAR;
        const std::array<int, 4> tones = {chord.root, chord.root + (chord.minor ? 3 : 4), chord.root + 7,
                                          chord.root + 12};
        for (int i = 0; i < STEPS_PER_BAR; ++i) {
            const int tone = tones[static_cast<std::size_t>(ARPEGGIO_ORDER[static_cast<std::size_t>(i % 8)])];
            sequencer.addNote(arpeggio, start + i, 1, Pitch::frequency(tone), i % 4 == 0 ? 1.0f : 0.7f);
        }
        const int root = chord.root - 12;
        // clang-format off
        const std::array<std::array<int, 3>, 6> walk = {{
            {0, 4, root}, {4, 2, root}, {6, 2, root + 7}, {8, 4, root}, {12, 2, root + 12}, {14, 2, root + 7}}};
        // clang-format on
        for (const auto& [step, length, note] : walk)
            sequencer.addNote(bass, start + step, length, Pitch::frequency(note), step % 4 == 0 ? 1.0f : 0.8f,
                              0.85);
    }

    sequencer.addRhythm(kick, 0, "x.......x.......", BARS);
    sequencer.addRhythm(snare, 0, "....o.......o...", BARS - 1);
    sequencer.addRhythm(snare, (BARS - 1) * STEPS_PER_BAR, "....o.......o.oo", 1);
    sequencer.addRhythm(hat, 0, "..o...o...o...o.", BARS);
}

} // namespace synth
