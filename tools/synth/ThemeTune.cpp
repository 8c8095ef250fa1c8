#include "ThemeTune.h"

namespace synth {

namespace {

BandTune::Score themeScore() {
    BandTune::Score score;
    // clang-format off
    score.label = "theme-song";
    // A sixteenth note of exactly 5400 samples: 0.1224 s, about 122.5 beats a minute.
    score.samplesPerStep = 5400;
    // Dm Dm Bb C | Dm Dm Bb A | Gm Gm Dm Dm | Bb C A A, the last A leading back to the first Dm.
    score.chords = {
        {50, true}, {50, true}, {46, false}, {48, false},
        {50, true}, {50, true}, {46, false}, {45, false},
        {43, true}, {43, true}, {50, true}, {50, true},
        {46, false}, {48, false}, {45, false}, {45, false}};

    score.lead = {.waveform = SQUARE, .pulseWidth = 0.3, .envelope = Envelope(0.005, 0.12, 0.6, 0.09),
                  .cutoff = 3200.0, .vibratoDepth = 0.18, .vibratoRate = 6.0, .vibratoDelay = 0.12,
                  .detune = 6.0, .gain = 0.4};
    score.melody =
        "D5:2 -:2 D5:2 F5:2 A5:4 G5:2 F5:2 | E5:2 F5:2 D5:4 -:4 A4:4 | Bb4:2 D5:2 F5:4 Bb5:4 A5:2 G5:2 | "
        "A5:4 G5:2 E5:2 C5:4 E5:4 | D5:2 -:2 D5:2 F5:2 A5:4 C6:2 A5:2 | D6:6 C6:2 A5:4 F5:4 | "
        "G5:4 F5:2 D5:2 Bb4:4 D5:4 | C#5:4 E5:2 A5:2 G5:4 E5:4 | G4:2 Bb4:2 D5:4 G5:4 F5:2 D5:2 | "
        "Bb4:4 D5:2 G5:2 F5:4 D5:4 | A4:2 D5:2 F5:4 A5:4 G5:2 F5:2 | E5:4 D5:4 -:4 A4:4 | "
        "D5:4 F5:2 Bb5:2 A5:4 F5:4 | G5:4 E5:2 C5:2 E5:4 G5:4 | A5:6 G5:2 E5:4 C#5:4 | "
        "A4:4 C#5:4 E5:4 A5:2 -:2 |";
    score.leadLegato = 0.85;

    // Bass in eighths an octave down, jumping between the root and its octave: the engine of the tune.
    BandTune::ChordPart bass{
        .sound = {.waveform = SAW, .envelope = Envelope(0.004, 0.12, 0.5, 0.06), .cutoff = 700.0,
                  .gain = 0.55},
        .octave = -1,
        .legato = 0.75,
        .hits = {{0, 2, {0}, 1.0f}, {2, 2, {3}, 0.8f}, {4, 2, {0}, 0.8f}, {6, 2, {3}, 0.8f},
                 {8, 2, {0}, 1.0f}, {10, 2, {3}, 0.8f}, {12, 2, {0}, 0.8f}, {14, 2, {3}, 0.8f}}};
    // Short chord stabs an octave up, on the off-beats of beats two and four.
    BandTune::ChordPart stab{
        .sound = {.waveform = SAW, .envelope = Envelope(0.003, 0.1, 0.0, 0.04), .cutoff = 1600.0,
                  .detune = 10.0, .gain = 0.13},
        .octave = 1,
        .legato = 0.8,
        .hits = {{6, 1, {0, 1, 2}, 1.0f}, {14, 1, {0, 1, 2}, 1.0f}}};
    score.chordParts = {bass, stab};

    BandTune::DrumPart kick{
        .sound = {.toneStart = 150.0, .toneEnd = 45.0, .toneDrop = 0.035, .toneDecay = 0.25,
                  .noiseDecay = 0.01, .noiseLevel = 0.1, .gain = 0.85},
        .pattern = "X.......X.x....."};
    BandTune::DrumPart snare{
        .sound = {.toneStart = 210.0, .toneEnd = 170.0, .toneDecay = 0.09, .toneLevel = 0.35,
                  .noiseDecay = 0.15, .noiseLevel = 0.8, .highPass = 1000.0, .lowPass = 9000.0, .gain = 0.5},
        .pattern = "....X.......X...",
        .lastBar = "....X.......X.xx"};
    BandTune::DrumPart hat{
        .sound = {.toneDecay = 0.001, .toneLevel = 0.0, .noiseDecay = 0.03, .noiseLevel = 1.0,
                  .highPass = 7500.0, .lowPass = 15000.0, .gain = 0.25},
        .pattern = "x.o.x.o.x.o.x.o."};
    score.drums = {kick, snare, hat};
    // clang-format on
    return score;
}

} // namespace

ThemeTune::ThemeTune() : BandTune(themeScore()) {}

} // namespace synth
