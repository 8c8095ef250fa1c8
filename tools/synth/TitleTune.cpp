#include "TitleTune.h"

#include <array>

namespace synth {

namespace {

BandTune::Score titleScore() {
    BandTune::Score score;
    // clang-format off
    score.label = "title-song";
    // 100 beats a minute: a sixteenth note is 0.15 s, an exact 6615 samples.
    score.samplesPerStep = 6615;
    // Am F C G | Am F Dm E | Am F G E, the last E leading back to the first Am.
    score.chords = {
        {57, true}, {53, false}, {48, false}, {55, false},
        {57, true}, {53, false}, {50, true}, {52, false},
        {57, true}, {53, false}, {55, false}, {52, false}};

    score.lead = {.waveform = TRIANGLE, .envelope = Envelope(0.012, 0.25, 0.55, 0.3), .cutoff = 5000.0,
                  .vibratoDepth = 0.12, .vibratoRate = 5.0, .octaveLevel = 0.15, .gain = 0.55};
    score.melody =
        "E5:4 A4:2 C5:2 E5:4 D5:2 C5:2 | A4:6 C5:2 F5:4 E5:4 | G4:4 C5:2 E5:2 G5:4 E5:4 | "
        "D5:6 B4:2 G4:8 | E5:4 A5:2 G5:2 E5:4 C5:4 | F5:4 E5:2 D5:2 C5:4 A4:4 | "
        "D5:4 F5:2 A5:2 G5:4 F5:4 | E5:6 D5:2 B4:4 G#4:4 | A4:4 C5:2 E5:2 A5:6 G5:2 | "
        "F5:4 A5:2 F5:2 C5:8 | D5:4 G5:2 D5:2 B4:4 D5:4 | E5:8 G#4:4 B4:4 |";
    score.leadLegato = 0.92;

    // A music-box arpeggio up and down the chord's notes, leaning on each beat.
    BandTune::ChordPart arpeggio{
        .sound = {.waveform = SQUARE, .pulseWidth = 0.25, .envelope = Envelope(0.004, 0.18, 0.0, 0.05),
                  .cutoff = 1800.0, .gain = 0.16},
        .octave = 0,
        .legato = 0.9};
    constexpr std::array<int, 8> UP_AND_DOWN = {0, 1, 2, 3, 2, 1, 0, 1};
    for (int step = 0; step < 16; ++step)
        arpeggio.hits.push_back(
            {step, 1, {UP_AND_DOWN[static_cast<std::size_t>(step % 8)]}, step % 4 == 0 ? 1.0f : 0.7f});

    // A walking root-fifth bass an octave down.
    BandTune::ChordPart bass{
        .sound = {.waveform = SQUARE, .envelope = Envelope(0.008, 0.2, 0.6, 0.12), .cutoff = 500.0,
                  .gain = 0.5},
        .octave = -1,
        .legato = 0.85,
        .hits = {{0, 4, {0}, 1.0f}, {4, 2, {0}, 1.0f}, {6, 2, {2}, 0.8f},
                 {8, 4, {0}, 1.0f}, {12, 2, {3}, 1.0f}, {14, 2, {2}, 0.8f}}};
    score.chordParts = {arpeggio, bass};

    BandTune::DrumPart kick{
        .sound = {.toneStart = 120.0, .toneEnd = 48.0, .toneDrop = 0.03, .toneDecay = 0.22,
                  .noiseDecay = 0.01, .noiseLevel = 0.08, .gain = 0.6},
        .pattern = "x.......x......."};
    BandTune::DrumPart snare{
        .sound = {.toneStart = 200.0, .toneEnd = 180.0, .toneDecay = 0.08, .toneLevel = 0.3,
                  .noiseDecay = 0.12, .noiseLevel = 0.7, .highPass = 1200.0, .lowPass = 8000.0, .gain = 0.32},
        .pattern = "....o.......o...",
        .lastBar = "....o.......o.oo"};
    BandTune::DrumPart hat{
        .sound = {.toneDecay = 0.001, .toneLevel = 0.0, .noiseDecay = 0.035, .noiseLevel = 1.0,
                  .highPass = 7000.0, .lowPass = 14000.0, .gain = 0.2},
        .pattern = "..o...o...o...o."};
    score.drums = {kick, snare, hat};
    // clang-format on
    return score;
}

} // namespace

TitleTune::TitleTune() : BandTune(titleScore()) {}

} // namespace synth
