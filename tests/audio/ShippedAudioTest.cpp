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
#include <numeric>

namespace fs = std::filesystem;

namespace {

constexpr double FULL_SCALE = 32767.0;

std::vector<char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedAudio, EachFileIsAudibleWithoutClickOrClippingAndASecondSynthesisGivesTheSameBytes) {
    TempWorkDir work;
    const std::string command = std::string("\"") + TARNWICK_SYNTH_EXE + "\" \"" + work.path().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const ResourceEntry& entry : GAME_RESOURCES) {
        if (entry.kind == SPRITE) continue;
        SCOPED_TRACE(entry.file);
        const fs::path shipped = fs::path(TARNWICK_RUN_DIR) / entry.file;
        EXPECT_TRUE(bytesOf(work.path() / entry.file) == bytesOf(shipped));
        // The Windows build synthesizes under Wine; the game must sound the same there.
#ifdef TARNWICK_WINDOWS_RUN_DIR
        EXPECT_TRUE(bytesOf(fs::path(TARNWICK_WINDOWS_RUN_DIR) / entry.file) == bytesOf(shipped)) << "Windows build";
#endif
        const bool music = entry.kind == MUSIC;
        sf::InputSoundFile input(shipped); // throws when the file does not decode
        EXPECT_EQ(std::pair(input.getSampleRate(), input.getChannelCount()), std::pair(44100u, 1u)); // mono
        std::vector<std::int16_t> s(static_cast<std::size_t>(input.getSampleCount()));
        s.resize(static_cast<std::size_t>(input.read(s.data(), s.size())));
        ASSERT_GE(static_cast<double>(s.size()), (music ? 20.0 : 0.1) * 44100);
        EXPECT_LE(static_cast<double>(s.size()), (music ? 40.0 : 1.5) * 44100);
        const double power = std::inner_product(s.begin(), s.end(), s.begin(), 0.0) / static_cast<double>(s.size());
        const auto [low, high] = std::ranges::minmax(s);
        EXPECT_GT(std::sqrt(power), 0.03 * FULL_SCALE) << "too quiet to hear";
        EXPECT_LT(std::max(-low, +high), 0.95 * FULL_SCALE) << "so loud it clips once mixed";

        // A one-shot sound that starts or stops mid-wave clicks every time it is played. Music
        // wraps round: the step from the last sample to the first must look like the steps near
        // it, a click being a jump far larger than the waveform's own movement there.
        const int jump = std::abs(s.back() - s.front());
        int step = 0;
        for (std::size_t i = 1; i < 64; ++i)
            step = std::max({step, std::abs(s[i] - s[i - 1]), std::abs(s[s.size() - i] - s[s.size() - i - 1])});
        if (music) EXPECT_LE(jump, std::min(2 * step + 64, static_cast<int>(0.05 * FULL_SCALE)));
        else EXPECT_LT(std::max(std::abs(s.front()), std::abs(s.back())), 0.01 * FULL_SCALE);
    }
}

} // namespace
