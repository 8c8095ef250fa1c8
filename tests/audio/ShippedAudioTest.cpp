// The audio files the build puts into the run folder: each must load, be of a sensible length and
// level, never clip, and the music must loop without a click. The synthesizer that makes them must
// give the same bytes on every run, so a rebuild never changes what the game ships.

#include "TempWorkDir.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double FULL_SCALE = 32767.0;

struct ShippedFile {
    const char* path; // relative to the run folder
    bool music;
};

const std::vector<ShippedFile> SHIPPED_FILES = {
    {"Audio/SFX/flyBuzzStuck.wav", false}, {"Audio/SFX/repairRope.wav", false},
    {"Audio/SFX/pointsGained.wav", false}, {"Audio/SFX/silkCharged.wav", false},
    {"Audio/SFX/enemySpawn.wav", false},   {"Audio/SFX/cutWeb.wav", false},
    {"Audio/SFX/playerFall.wav", false},   {"Audio/SFX/shift.wav", false},
    {"Audio/SFX/bounce.wav", false},       {"Audio/SFX/slurp.wav", false},
    {"Audio/SFX/saucerSpawn.wav", false},  {"Audio/TarnwickTheme.wav", true},
    {"Audio/TitleSimple.wav", true},
};

struct Decoded {
    bool opened = false;
    unsigned sampleRate = 0;
    unsigned channels = 0;
    std::vector<std::int16_t> samples;

    double seconds() const {
        return sampleRate == 0 ? 0.0 : static_cast<double>(samples.size()) / channels / sampleRate;
    }
};

fs::path runFile(const char* relative) {
    return fs::path(TARNWICK_RUN_DIR) / relative;
}

Decoded decode(const fs::path& path) {
    Decoded result;
    sf::InputSoundFile file;
    if (!file.openFromFile(path)) return result;
    result.opened = true;
    result.sampleRate = file.getSampleRate();
    result.channels = file.getChannelCount();
    result.samples.resize(static_cast<std::size_t>(file.getSampleCount()));
    const auto read = file.read(result.samples.data(), result.samples.size());
    result.samples.resize(static_cast<std::size_t>(read));
    return result;
}

// Bits per sample from the WAV header's "fmt " chunk; 0 when the file is not a readable WAV.
unsigned bitsPerSample(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE")
        return 0;
    std::size_t position = 12;
    while (position + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                             bytes.begin() + static_cast<std::ptrdiff_t>(position + 4));
        const std::size_t size = bytes[position + 4] | bytes[position + 5] << 8 | bytes[position + 6] << 16 |
                                 static_cast<std::size_t>(bytes[position + 7]) << 24;
        if (id == "fmt " && position + 8 + 16 <= bytes.size())
            return bytes[position + 8 + 14] | bytes[position + 8 + 15] << 8;
        position += 8 + size + (size & 1);
    }
    return 0;
}

double peakOf(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

double rmsOf(const std::vector<std::int16_t>& samples) {
    if (samples.empty()) return 0.0;
    double sum = 0.0;
    for (std::int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::string nameOf(const ::testing::TestParamInfo<ShippedFile>& info) {
    std::string name = fs::path(info.param.path).stem().string();
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }),
               name.end());
    return name;
}

[[maybe_unused]] std::vector<char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ShippedAudioFile : public ::testing::TestWithParam<ShippedFile> {};
class ShippedMusic : public ::testing::TestWithParam<ShippedFile> {};
class ShippedEffect : public ::testing::TestWithParam<ShippedFile> {};

} // namespace

TEST_P(ShippedAudioFile, DecodesAsSixteenBitMonoAt44100Hz) {
    const fs::path path = runFile(GetParam().path);
    const Decoded audio = decode(path);
    ASSERT_TRUE(audio.opened) << path << " does not open as a sound file";
    EXPECT_EQ(audio.sampleRate, 44100u);
    EXPECT_EQ(audio.channels, 1u);
    EXPECT_EQ(bitsPerSample(path), 16u);
}

TEST_P(ShippedAudioFile, LastsAsLongAsItsKindShould) {
    const Decoded audio = decode(runFile(GetParam().path));
    ASSERT_TRUE(audio.opened);
    if (GetParam().music) {
        EXPECT_GE(audio.seconds(), 20.0);
        EXPECT_LE(audio.seconds(), 40.0);
    } else {
        EXPECT_GE(audio.seconds(), 0.1);
        EXPECT_LE(audio.seconds(), 1.5);
    }
}

TEST_P(ShippedAudioFile, IsClearlyAudibleWithoutClipping) {
    const Decoded audio = decode(runFile(GetParam().path));
    ASSERT_TRUE(audio.opened);
    EXPECT_GT(rmsOf(audio.samples), 0.03 * FULL_SCALE) << "too quiet to hear over the rest";
    EXPECT_LT(peakOf(audio.samples), 0.95 * FULL_SCALE) << "so loud it clips once mixed";
}

TEST_P(ShippedEffect, StartsAndEndsAtSilence) {
    // A one-shot sound that starts or stops mid-wave clicks every time it is played.
    const Decoded audio = decode(runFile(GetParam().path));
    ASSERT_TRUE(audio.opened);
    ASSERT_FALSE(audio.samples.empty());
    EXPECT_LT(std::abs(audio.samples.front()), 0.01 * FULL_SCALE);
    EXPECT_LT(std::abs(audio.samples.back()), 0.01 * FULL_SCALE);
}

TEST_P(ShippedMusic, LoopsWithoutAClick) {
    const Decoded audio = decode(runFile(GetParam().path));
    ASSERT_TRUE(audio.opened);
    const auto& s = audio.samples;
    ASSERT_GT(s.size(), 256u);
    // The step from the last sample back to the first must look like any step near it: a click is
    // a jump far larger than the waveform's own movement there.
    const int jump = std::abs(s.back() - s.front());
    int localStep = 0;
    for (std::size_t i = 1; i < 64; ++i) {
        localStep = std::max(localStep, std::abs(s[i] - s[i - 1]));
        localStep = std::max(localStep, std::abs(s[s.size() - i] - s[s.size() - i - 1]));
    }
    EXPECT_LT(jump, 0.05 * FULL_SCALE);
    EXPECT_LE(jump, 2 * localStep + 64) << "neighbouring steps are at most " << localStep;
}

INSTANTIATE_TEST_SUITE_P(RunFolder, ShippedAudioFile, ::testing::ValuesIn(SHIPPED_FILES), nameOf);
INSTANTIATE_TEST_SUITE_P(RunFolder, ShippedEffect,
                         ::testing::ValuesIn(std::vector<ShippedFile>(SHIPPED_FILES.begin(),
                                                                      SHIPPED_FILES.end() - 2)),
                         nameOf);
INSTANTIATE_TEST_SUITE_P(RunFolder, ShippedMusic,
                         ::testing::ValuesIn(std::vector<ShippedFile>(SHIPPED_FILES.end() - 2,
                                                                      SHIPPED_FILES.end())),
                         nameOf);

TEST(ShippedAudioSynthesizer, SecondRunWritesIdenticalBytes) {
#ifndef TARNWICK_SYNTH_EXE
    GTEST_SKIP() << "the build did not say where the synthesizer is";
#else
    TempWorkDir work;
    std::string command = std::string("\"") + TARNWICK_SYNTH_EXE + "\" \"" + work.path().string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\""; // cmd.exe strips one pair of quotes around the whole line
#endif
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const ShippedFile& file : SHIPPED_FILES) {
        const std::vector<char> shipped = bytesOf(runFile(file.path));
        const std::vector<char> again = bytesOf(work.path() / file.path);
        ASSERT_FALSE(again.empty()) << file.path << " was not written again";
        EXPECT_TRUE(shipped == again) << file.path << " differs between two runs of the synthesizer";
    }
#endif
}
