// The audio files the build puts into the run folder: each must load, be of a sensible length and
// level, never clip, and the music must loop without a click. The synthesizer that makes them must
// give the same bytes on every run, so a rebuild never changes what the game ships.
#include "ResourceEntry.h"
#include "TempWorkDir.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double FULL_SCALE = 32767.0;

/// The sound and music files the game loads, each once, relative to the run folder.
std::vector<ResourceEntry> shippedFiles() {
    std::vector<ResourceEntry> files;
    std::set<std::string> seen;
    for (const ResourceEntry& entry : GAME_RESOURCES)
        if (entry.kind != SPRITE && seen.insert(entry.file).second) files.push_back(entry);
    return files;
}

std::vector<char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedAudio, EachFileDecodesLastsItsIntendedLengthAndIsAudibleWithoutClipping) {
    const std::vector<ResourceEntry> files = shippedFiles();
    EXPECT_EQ(files.size(), 13u);
    for (const ResourceEntry& entry : files) {
        const std::string file = entry.file;
        SCOPED_TRACE(file);
        const bool music = entry.kind == MUSIC;
        sf::InputSoundFile input;
        ASSERT_TRUE(input.openFromFile(fs::path(TARNWICK_RUN_DIR) / file));
        EXPECT_EQ(input.getSampleRate(), 44100u);
        EXPECT_EQ(input.getChannelCount(), 1u);
        std::vector<std::int16_t> s(static_cast<std::size_t>(input.getSampleCount()));
        s.resize(static_cast<std::size_t>(input.read(s.data(), s.size())));
        ASSERT_GT(s.size(), 256u);
        EXPECT_GE(static_cast<double>(s.size()), (music ? 20.0 : 0.1) * 44100);
        EXPECT_LE(static_cast<double>(s.size()), (music ? 40.0 : 1.5) * 44100);
        double sum = 0.0;
        int peak = 0;
        for (std::int16_t sample : s) {
            sum += static_cast<double>(sample) * sample;
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_GT(std::sqrt(sum / static_cast<double>(s.size())), 0.03 * FULL_SCALE) << "too quiet to hear";
        EXPECT_LT(peak, 0.95 * FULL_SCALE) << "so loud it clips once mixed";

        // A one-shot sound that starts or stops mid-wave clicks every time it is played. Music
        // wraps round: the step from the last sample to the first must look like the steps near
        // it, a click being a jump far larger than the waveform's own movement there.
        if (!music) {
            EXPECT_LT(std::abs(s.front()), 0.01 * FULL_SCALE);
            EXPECT_LT(std::abs(s.back()), 0.01 * FULL_SCALE);
            continue;
        }
        const int jump = std::abs(s.back() - s.front());
        int local_step = 0;
        for (std::size_t i = 1; i < 64; ++i)
            local_step = std::max({local_step, std::abs(s[i] - s[i - 1]), std::abs(s[s.size() - i] - s[s.size() - i - 1])});
        EXPECT_LT(jump, 0.05 * FULL_SCALE);
        EXPECT_LE(jump, 2 * local_step + 64) << "neighbouring steps are at most " << local_step;
    }
}

TEST(ShippedAudio, SynthesizerWritesIdenticalBytesOnASecondRun) {
    TempWorkDir work;
    std::string command = std::string("\"") + TARNWICK_SYNTH_EXE + "\" \"" + work.path().string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\""; // cmd.exe strips one pair of quotes around the whole line
#endif
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const ResourceEntry& entry : shippedFiles()) {
        const std::vector<char> again = bytesOf(work.path() / entry.file);
        ASSERT_FALSE(again.empty()) << entry.file << " was not written again";
        EXPECT_TRUE(bytesOf(fs::path(TARNWICK_RUN_DIR) / entry.file) == again)
            << entry.file << " differs between two runs";
    }
}

// The Windows build runs its synthesizer under Wine; the game must sound the same there.
TEST(ShippedAudio, WindowsBuildShipsTheSameBytes) {
#ifndef TARNWICK_WINDOWS_RUN_DIR
    GTEST_SKIP() << "no Windows build configured (TARNWICK_WINDOWS_RUN_DIR)";
#else
    for (const ResourceEntry& entry : shippedFiles()) {
        const std::vector<char> windows = bytesOf(fs::path(TARNWICK_WINDOWS_RUN_DIR) / entry.file);
        ASSERT_FALSE(windows.empty()) << entry.file << " is missing from the Windows build";
        EXPECT_TRUE(bytesOf(fs::path(TARNWICK_RUN_DIR) / entry.file) == windows)
            << entry.file << " differs between the Linux and the Windows build";
    }
#endif
}

} // namespace
