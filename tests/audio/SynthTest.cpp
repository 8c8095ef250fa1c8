// The building blocks of the synthesizer (tools/synth) where a mistake would still give audio
// that decodes, loops and stays in level: wrong notes, wrong timing, broken melodies.
#include "AudioClip.h"
#include "Instrument.h"
#include "NoteSequencer.h"
#include "Oscillator.h"
#include "Pitch.h"
#include "ResourceEntry.h"
#include "SoundCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace synth;

namespace {

// Plays every note as a block of its velocity, exactly as long as its gate.
struct BlockInstrument : Instrument {
    std::vector<float> renderNote(double, std::size_t gate, float velocity, std::uint32_t) const override {
        return std::vector<float>(gate, velocity);
    }
};

TEST(SynthPitch, NoteNamesEqualTemperamentFromA440AndWaveformsOfThatFrequency) {
    for (const auto& [name, note] : {std::pair{"A4", 69}, {"C4", 60}, {"C#5", 73}, {"Bb3", 58}, {"C0", 12}})
        EXPECT_EQ(Pitch::parse(name), note) << name;
    for (const char* name : {"", "A", "A#", "H4", "a4", "4A", "A4x", "Cb", "A10", "-"})
        EXPECT_FALSE(Pitch::parse(name).has_value()) << name;
    EXPECT_DOUBLE_EQ(Pitch::frequency(69), 440.0);
    EXPECT_NEAR(Pitch::frequency(60), 261.626, 1e-3);
    // Every waveform has the frequency asked for and no offset.
    for (Waveform waveform : {SINE, TRIANGLE, SAW, SQUARE}) {
        Oscillator oscillator(waveform);
        double previous = 0.0, sum = 0.0, sign_changes = 0.0;
        for (unsigned i = 0; i < AudioClip::SAMPLE_RATE; ++i) { // one second
            const double value = oscillator.next(220.5);
            sign_changes += i > 0 && (value < 0.0) != (previous < 0.0);
            sum += previous = value;
        }
        EXPECT_NEAR(sign_changes, 441, 4) << "waveform " << waveform;
        EXPECT_NEAR(sum / AudioClip::SAMPLE_RATE, 0.0, 0.01) << "waveform " << waveform;
    }
}

TEST(SynthSequencer, ReadsMelodiesAndRhythmsReportsMistakesAndFindsNoneInThePiecesOfTheGame) {
    const BlockInstrument block;
    NoteSequencer sequencer(10, 4, 2);
    EXPECT_EQ(sequencer.addMelody(block, 0, "A4:2 -:2 | C5:1 E5:3 |", 1.0f, 1.0), 8);
    sequencer.addRhythm(block, 0, "X.o|.", 2);
    EXPECT_TRUE(sequencer.problems().empty());
    const AudioClip clip = sequencer.render();
    for (const auto& [at, value] : {std::pair<std::size_t, float>{0, 2}, {19, 1}, {20, 0.45f}, {30, 0}, {40, 2},
                                    {60, 1.45f}, {79, 1}})
        EXPECT_FLOAT_EQ(clip[at], value) << at;

    // An unknown note still takes its time; malformed tokens and notes outside the piece none.
    NoteSequencer broken(10, 4, 2);
    EXPECT_EQ(broken.addMelody(block, 0, "A4:3 | H4:1 C5 E5:x D5:1", 1.0f), 5);
    broken.addNote(block, 8, 1, 440.0, 1.0f);
    broken.addNote(block, 0, 0, 440.0, 1.0f);
    broken.addRhythm(block, 0, "x?", 1);
    const std::vector<std::string>& problems = broken.problems();
    ASSERT_EQ(problems.size(), 7u);
    for (const auto& [index, word] : {std::pair{0, "bar line"}, {1, "H4"}, {2, "C5"}, {3, "E5:x"}})
        EXPECT_NE(problems[index].find(word), std::string::npos) << problems[index];

    // Each piece is a sound or music of the game, and only music loops.
    for (const auto& piece : SoundCatalogue::all()) {
        const std::string label = piece->label();
        const auto entry =
            std::ranges::find_if(GAME_RESOURCES, [&](auto& e) { return e.kind != SPRITE && label == e.label; });
        ASSERT_NE(entry, std::end(GAME_RESOURCES)) << label;
        EXPECT_EQ(piece->loops(), entry->kind == MUSIC) << label;
        EXPECT_TRUE(piece->problems().empty()) << label << ": " << piece->problems().front();
    }
}

} // namespace
