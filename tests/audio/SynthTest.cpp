// The building blocks of the synthesizer that makes the game's audio (tools/synth).

#include "AudioClip.h"
#include "Envelope.h"
#include "Instrument.h"
#include "NoiseGenerator.h"
#include "NoteSequencer.h"
#include "OnePoleFilter.h"
#include "Oscillator.h"
#include "Pitch.h"
#include "PitchCurve.h"
#include "SoundCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>

using namespace synth;

namespace {

constexpr double RATE = AudioClip::SAMPLE_RATE;

// An instrument whose notes are easy to find: a block of ones of the note's gate length plus a
// tail of tailSamples halves.
class BlockInstrument : public Instrument {
public:
    explicit BlockInstrument(std::size_t tailSamples) : tail(tailSamples) {}

    std::vector<float> renderNote(double, std::size_t gateSamples, float velocity,
                                  std::uint32_t) const override {
        std::vector<float> out(gateSamples, velocity);
        out.insert(out.end(), tail, 0.5f * velocity);
        return out;
    }

private:
    std::size_t tail;
};

std::vector<double> run(Oscillator& oscillator, double frequency, std::size_t count) {
    std::vector<double> out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(oscillator.next(frequency));
    return out;
}

int signChanges(const std::vector<double>& samples) {
    int changes = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if ((samples[i - 1] < 0.0) != (samples[i] < 0.0)) ++changes;
    return changes;
}

double mean(const std::vector<double>& samples) {
    double sum = 0.0;
    for (double s : samples)
        sum += s;
    return sum / static_cast<double>(samples.size());
}

} // namespace

TEST(SynthPitch, ReadsNoteNamesWithSharpsAndFlats) {
    EXPECT_EQ(Pitch::parse("A4"), 69);
    EXPECT_EQ(Pitch::parse("C4"), 60);
    EXPECT_EQ(Pitch::parse("C#5"), 73);
    EXPECT_EQ(Pitch::parse("Bb3"), 58);
    EXPECT_EQ(Pitch::parse("G#4"), 68);
    EXPECT_EQ(Pitch::parse("C0"), 12);
}

TEST(SynthPitch, RejectsMalformedNames) {
    for (const char* name : {"", "A", "A#", "H4", "a4", "4A", "A4x", "Cb", "A10", "-"})
        EXPECT_FALSE(Pitch::parse(name).has_value()) << name;
}

TEST(SynthPitch, UsesEqualTemperamentFromA440) {
    EXPECT_DOUBLE_EQ(Pitch::frequency(69), 440.0);
    EXPECT_NEAR(Pitch::frequency(81), 880.0, 1e-9);
    EXPECT_NEAR(Pitch::frequency(57), 220.0, 1e-9);
    EXPECT_NEAR(Pitch::frequency(60), 261.626, 1e-3);
}

TEST(SynthOscillator, SineCrossesZeroTwicePerPeriod) {
    Oscillator sine(SINE);
    const auto samples = run(sine, 441.0, AudioClip::SAMPLE_RATE);
    EXPECT_NEAR(signChanges(samples), 882, 2);
}

TEST(SynthOscillator, EveryWaveformStaysInRangeWithoutOffset) {
    for (Waveform waveform : {SINE, TRIANGLE, SAW, SQUARE}) {
        Oscillator oscillator(waveform);
        const auto samples = run(oscillator, 220.5, AudioClip::SAMPLE_RATE);
        EXPECT_NEAR(mean(samples), 0.0, 0.01) << "waveform " << waveform;
        EXPECT_LE(*std::max_element(samples.begin(), samples.end()), 1.3) << "waveform " << waveform;
        EXPECT_GE(*std::min_element(samples.begin(), samples.end()), -1.3) << "waveform " << waveform;
        EXPECT_NEAR(signChanges(samples), 441, 4) << "waveform " << waveform;
    }
}

TEST(SynthOscillator, NarrowPulseIsHighForItsWidthAndCentredOnZero) {
    Oscillator pulse(SQUARE, 0.25);
    const auto samples = run(pulse, 100.0, AudioClip::SAMPLE_RATE);
    const auto high = std::count_if(samples.begin(), samples.end(), [](double s) { return s > 0.0; });
    EXPECT_NEAR(static_cast<double>(high) / static_cast<double>(samples.size()), 0.25, 0.01);
    EXPECT_NEAR(mean(samples), 0.0, 0.01);
}

TEST(SynthOscillator, FollowsAChangingFrequencyWithoutJumps) {
    Oscillator sine(SINE);
    double previous = sine.next(200.0);
    double largestStep = 0.0;
    for (int i = 1; i < 4410; ++i) {
        const double value = sine.next(i < 2205 ? 200.0 : 400.0);
        largestStep = std::max(largestStep, std::fabs(value - previous));
        previous = value;
    }
    // A 400 Hz sine never moves more than 2 pi 400 / 44100 per sample.
    EXPECT_LT(largestStep, 2.0 * std::numbers::pi * 400.0 / RATE + 1e-6);
}

TEST(SynthEnvelope, RisesHoldsAndReleasesToSilence) {
    const Envelope envelope(0.1, 0.2, 0.5, 0.3);
    EXPECT_DOUBLE_EQ(envelope.level(0.0, 1.0), 0.0);
    EXPECT_NEAR(envelope.level(0.05, 1.0), 0.5, 1e-9);
    EXPECT_NEAR(envelope.level(0.1, 1.0), 1.0, 1e-9);
    EXPECT_NEAR(envelope.level(0.5, 1.0), 0.5, 1e-9);
    EXPECT_NEAR(envelope.level(1.0, 1.0), 0.5, 1e-9);
    EXPECT_LT(envelope.level(1.15, 1.0), 0.5);
    EXPECT_GT(envelope.level(1.15, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(envelope.level(1.3, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(envelope.length(1.0), 1.3);
}

TEST(SynthEnvelope, ReleasesFromWhereverAShortNoteGotTo) {
    const Envelope envelope(0.2, 0.2, 0.5, 0.1);
    // Let go halfway up the attack: the release starts at 0.5, not at the sustain level or 1.
    EXPECT_NEAR(envelope.level(0.1, 0.1), 0.5, 1e-9);
    EXPECT_LT(envelope.level(0.15, 0.1), 0.5);
    EXPECT_DOUBLE_EQ(envelope.level(0.21, 0.1), 0.0);
}

TEST(SynthEnvelope, PercussiveSoundDiesOutWithoutBeingHeld) {
    const Envelope hit = Envelope::percussive(0.01, 0.2);
    EXPECT_NEAR(hit.level(0.01, 5.0), 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(hit.level(0.215, 5.0), 0.0);
    EXPECT_DOUBLE_EQ(hit.level(3.0, 5.0), 0.0);
    EXPECT_NEAR(hit.length(5.0), 0.21, 1e-9);
}

TEST(SynthNoise, SameSeedGivesSameSamplesAndSeedsDiffer) {
    NoiseGenerator a(1234u), b(1234u), c(4321u);
    int differences = 0;
    double sum = 0.0;
    for (int i = 0; i < 10000; ++i) {
        const double x = a.next();
        ASSERT_EQ(x, b.next());
        if (x != c.next()) ++differences;
        ASSERT_GE(x, -1.0);
        ASSERT_LT(x, 1.0);
        sum += x;
    }
    EXPECT_GT(differences, 9900);
    EXPECT_NEAR(sum / 10000.0, 0.0, 0.05);
}

TEST(SynthNoise, ZeroSeedStillMakesNoise) {
    NoiseGenerator zero(0u);
    std::set<double> values;
    for (int i = 0; i < 100; ++i)
        values.insert(zero.next());
    EXPECT_GT(values.size(), 90u);
}

TEST(SynthFilter, LowPassKeepsLowsAndCutsHighs) {
    OnePoleFilter low(OnePoleFilter::LOW_PASS, 200.0);
    double settled = 0.0;
    for (int i = 0; i < 10000; ++i)
        settled = low.process(1.0);
    EXPECT_NEAR(settled, 1.0, 1e-6);

    OnePoleFilter lowOnTreble(OnePoleFilter::LOW_PASS, 200.0);
    Oscillator treble(SINE);
    double loudest = 0.0;
    for (int i = 0; i < 44100; ++i) {
        const double out = lowOnTreble.process(treble.next(8000.0));
        if (i > 4410) loudest = std::max(loudest, std::fabs(out));
    }
    EXPECT_LT(loudest, 0.05);
}

TEST(SynthFilter, HighPassRemovesASteadyOffset) {
    OnePoleFilter high(OnePoleFilter::HIGH_PASS, 200.0);
    double out = 1.0;
    for (int i = 0; i < 10000; ++i)
        out = high.process(1.0);
    EXPECT_NEAR(out, 0.0, 1e-6);
}

TEST(SynthPitchCurve, GlidesInEqualIntervalsAndHoldsItsEnds) {
    const PitchCurve curve({{0.0, 100.0}, {1.0, 400.0}, {2.0, 100.0}});
    EXPECT_DOUBLE_EQ(curve.frequencyAt(-1.0), 100.0);
    EXPECT_NEAR(curve.frequencyAt(0.5), 200.0, 1e-9); // halfway in time is halfway in octaves
    EXPECT_NEAR(curve.frequencyAt(1.0), 400.0, 1e-9);
    EXPECT_NEAR(curve.frequencyAt(1.5), 200.0, 1e-9);
    EXPECT_DOUBLE_EQ(curve.frequencyAt(5.0), 100.0);
}

TEST(SynthAudioClip, MixingWrapsTailsRoundOnlyWhenAsked) {
    AudioClip looped(10), cut(10);
    const std::vector<float> note = {1.0f, 2.0f, 3.0f, 4.0f};
    looped.mixIn(8, note, true);
    cut.mixIn(8, note, false);
    EXPECT_FLOAT_EQ(looped[8], 1.0f);
    EXPECT_FLOAT_EQ(looped[9], 2.0f);
    EXPECT_FLOAT_EQ(looped[0], 3.0f);
    EXPECT_FLOAT_EQ(looped[1], 4.0f);
    EXPECT_FLOAT_EQ(cut[9], 2.0f);
    EXPECT_FLOAT_EQ(cut[0], 0.0f);
    EXPECT_FLOAT_EQ(cut[1], 0.0f);
}

TEST(SynthAudioClip, NormalisesToTheTargetPeakAndLeavesSilenceAlone) {
    AudioClip clip(4);
    clip[0] = 0.1f;
    clip[1] = -0.4f;
    clip[2] = 0.2f;
    clip.normalise(0.8f);
    EXPECT_FLOAT_EQ(clip.peak(), 0.8f);
    EXPECT_FLOAT_EQ(clip[0], 0.2f);
    EXPECT_FLOAT_EQ(clip[1], -0.8f);

    AudioClip silence(4);
    silence.normalise(0.8f);
    EXPECT_FLOAT_EQ(silence.peak(), 0.0f);
}

TEST(SynthAudioClip, ConvertsToSixteenBitsRoundingAndClamping) {
    AudioClip clip(5);
    clip[0] = 1.0f;
    clip[1] = -1.0f;
    clip[2] = 1.5f;
    clip[3] = 0.5f;
    clip[4] = -2.0f;
    const auto pcm = clip.toPcm16();
    ASSERT_EQ(pcm.size(), 5u);
    EXPECT_EQ(pcm[0], 32767);
    EXPECT_EQ(pcm[1], -32767);
    EXPECT_EQ(pcm[2], 32767);
    EXPECT_EQ(pcm[3], 16384);
    EXPECT_EQ(pcm[4], -32767);
}

TEST(SynthAudioClip, FadesReachSilenceAtTheEdges) {
    AudioClip clip = AudioClip::ofSeconds(0.1);
    for (std::size_t i = 0; i < clip.size(); ++i)
        clip[i] = 1.0f;
    clip.fadeIn(0.01);
    clip.fadeOut(0.01);
    EXPECT_FLOAT_EQ(clip[0], 0.0f);
    EXPECT_FLOAT_EQ(clip[clip.size() - 1], 0.0f);
    EXPECT_FLOAT_EQ(clip[clip.size() / 2], 1.0f);
    EXPECT_LT(clip[200], clip[400]);
}

TEST(SynthSequencer, PieceIsExactlyItsBars) {
    const NoteSequencer sequencer(100, 16, 3);
    EXPECT_EQ(sequencer.totalSteps(), 48);
    EXPECT_EQ(sequencer.totalSamples(), 4800u);
    EXPECT_EQ(sequencer.render().size(), 4800u);
}

TEST(SynthSequencer, PlacesNotesOnTheirStepsAndWrapsTheLastTailToTheStart) {
    const BlockInstrument block(15);
    NoteSequencer sequencer(10, 4, 2); // 8 steps of 10 samples
    sequencer.addNote(block, 2, 1, 440.0, 1.0f, 1.0);
    sequencer.addNote(block, 7, 1, 440.0, 1.0f, 1.0);
    const AudioClip clip = sequencer.render();
    ASSERT_EQ(clip.size(), 80u);
    EXPECT_FLOAT_EQ(clip[19], 0.0f);
    EXPECT_FLOAT_EQ(clip[20], 1.0f); // the first note's gate
    EXPECT_FLOAT_EQ(clip[30], 0.5f); // and its tail
    EXPECT_FLOAT_EQ(clip[45], 0.0f);
    EXPECT_FLOAT_EQ(clip[70], 1.0f); // the last note's gate
    EXPECT_FLOAT_EQ(clip[0], 0.5f);  // its tail carried round to the start
    EXPECT_FLOAT_EQ(clip[14], 0.5f);
    EXPECT_FLOAT_EQ(clip[15], 0.0f);
}

TEST(SynthSequencer, ReadsMelodiesWithRestsAndBarLines) {
    const BlockInstrument block(0);
    NoteSequencer sequencer(10, 4, 2);
    const int end = sequencer.addMelody(block, 0, "A4:2 -:2 | C5:1 E5:3 |", 1.0f, 1.0);
    EXPECT_EQ(end, 8);
    EXPECT_TRUE(sequencer.problems().empty());
    const AudioClip clip = sequencer.render();
    EXPECT_FLOAT_EQ(clip[0], 1.0f);
    EXPECT_FLOAT_EQ(clip[19], 1.0f);
    EXPECT_FLOAT_EQ(clip[20], 0.0f); // the rest
    EXPECT_FLOAT_EQ(clip[40], 1.0f);
    EXPECT_FLOAT_EQ(clip[79], 1.0f);
}

TEST(SynthSequencer, ReportsMistakesInMelodiesAndSkipsThem) {
    const BlockInstrument block(0);
    NoteSequencer sequencer(10, 4, 2);
    const int end = sequencer.addMelody(block, 0, "A4:3 | H4:1 C5 E5:x D5:1", 1.0f);
    EXPECT_EQ(end, 5); // the unknown note still takes its time; malformed tokens take none
    ASSERT_EQ(sequencer.problems().size(), 4u);
    EXPECT_NE(sequencer.problems()[0].find("bar line"), std::string::npos);
    EXPECT_NE(sequencer.problems()[1].find("H4"), std::string::npos);
    EXPECT_NE(sequencer.problems()[2].find("C5"), std::string::npos);
    EXPECT_NE(sequencer.problems()[3].find("E5:x"), std::string::npos);
}

TEST(SynthSequencer, RejectsNotesOutsideThePiece) {
    const BlockInstrument block(0);
    NoteSequencer sequencer(10, 4, 1);
    sequencer.addNote(block, 4, 1, 440.0, 1.0f);
    sequencer.addNote(block, -1, 1, 440.0, 1.0f);
    sequencer.addNote(block, 0, 0, 440.0, 1.0f);
    EXPECT_EQ(sequencer.problems().size(), 3u);
    EXPECT_FLOAT_EQ(sequencer.render().peak(), 0.0f);
}

TEST(SynthSequencer, PlaysRhythmsWithAccentsAndRepeats) {
    const BlockInstrument block(0);
    NoteSequencer sequencer(10, 4, 2);
    sequencer.addRhythm(block, 0, "X.o|.", 2);
    const AudioClip clip = sequencer.render();
    EXPECT_FLOAT_EQ(clip[0], 1.0f);
    EXPECT_FLOAT_EQ(clip[10], 0.0f);
    EXPECT_FLOAT_EQ(clip[20], 0.45f);
    EXPECT_FLOAT_EQ(clip[40], 1.0f); // second time round
    EXPECT_FLOAT_EQ(clip[60], 0.45f);
    EXPECT_TRUE(sequencer.problems().empty());

    sequencer.addRhythm(block, 0, "x?", 1);
    EXPECT_EQ(sequencer.problems().size(), 1u);
}

TEST(SynthCatalogue, HoldsEveryGameFileOnceAndComposesCleanly) {
    const auto pieces = SoundCatalogue::all();
    ASSERT_EQ(pieces.size(), 13u);
    std::set<std::string> paths;
    int music = 0;
    for (const auto& piece : pieces) {
        const std::string path = piece->relativePath();
        paths.insert(path);
        EXPECT_EQ(path.rfind("Audio/", 0), 0u) << path;
        EXPECT_EQ(path.substr(path.size() - 4), ".wav") << path;
        EXPECT_EQ(piece->loops(), path.find("/SFX/") == std::string::npos) << path;
        EXPECT_TRUE(piece->problems().empty()) << path << ": " << piece->problems().front();
        EXPECT_GT(piece->targetPeak(), 0.0f);
        EXPECT_LT(piece->targetPeak(), 0.95f);
        if (piece->loops()) ++music;
    }
    EXPECT_EQ(paths.size(), 13u);
    EXPECT_EQ(music, 2);
}

TEST(SynthCatalogue, ProducedSoundsReachTheirTargetPeak) {
    for (const auto& piece : SoundCatalogue::all()) {
        if (piece->loops()) continue; // the music is long; the shipped-file tests cover it
        const AudioClip clip = piece->produce();
        EXPECT_NEAR(clip.peak(), piece->targetPeak(), 1e-4) << piece->relativePath();
        EXPECT_FLOAT_EQ(clip[0], 0.0f) << piece->relativePath();
        EXPECT_FLOAT_EQ(clip[clip.size() - 1], 0.0f) << piece->relativePath();
    }
}
