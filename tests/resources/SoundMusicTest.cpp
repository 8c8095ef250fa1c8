#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"

#include "LogManager.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using bw::Music;
using bw::ResourceManager;
using bw::Sound;
using Lines = std::vector<std::string>;

namespace {

constexpr int TONE_SAMPLES = 400;

class SoundMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        ASSERT_TRUE(writeToneWav("Audio/SFX/tone.wav", TONE_SAMPLES));
        ASSERT_TRUE(writeToneWav("Audio/theme.wav", 8000));
    }
    void TearDown() override {
        // The manager outlives the test: remove whatever this test put in.
        for (const std::string& label : sound_labels)
            while (resources.unloadSound(label) == 0) {}
        for (const std::string& label : music_labels)
            while (resources.unloadMusic(label) == 0) {}
        bw::LogManager::getInstance().shutDown();
    }

    int loadSound(const std::string& file, const std::string& label) {
        sound_labels.push_back(label);
        return resources.loadSound(file, label);
    }
    int loadMusic(const std::string& file, const std::string& label) {
        music_labels.push_back(label);
        return resources.loadMusic(file, label);
    }

    TempWorkDir dir;
    ResourceManager& resources = ResourceManager::getInstance();
    std::vector<std::string> sound_labels;
    std::vector<std::string> music_labels;
};

TEST_F(SoundMusicTest, NewEntriesCarryTheUndefinedLabels) {
    const Sound sound;
    const Music music;
    EXPECT_EQ(sound.getLabel(), "UNDEFINED_SOUND");
    EXPECT_EQ(music.getLabel(), "UNDEFINED_MUSIC");
    EXPECT_EQ(sound.getSound().getBuffer().getSampleCount(), 0u);
}

TEST_F(SoundMusicTest, LoadedSoundIsBoundToItsSamples) {
    EXPECT_EQ(loadSound("Audio/SFX/tone.wav", "player-eat"), 0);
    EXPECT_EQ(resources.getSoundCount(), 1);
    Sound* sound = resources.getSound("player-eat");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->getLabel(), "player-eat");
    EXPECT_EQ(sound->getSound().getBuffer().getSampleCount(), static_cast<std::uint64_t>(TONE_SAMPLES));
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SoundMusicTest, PlaySetsLoopingThenPlays) {
    ASSERT_EQ(loadSound("Audio/SFX/tone.wav", "blip"), 0);
    Sound* sound = resources.getSound("blip");
    ASSERT_NE(sound, nullptr);
    sound->play(true);
    EXPECT_TRUE(sound->getSound().isLooping());
    sound->play(false);
    EXPECT_FALSE(sound->getSound().isLooping());
    sound->stop();
    EXPECT_EQ(sound->getSound().getStatus(), sf::SoundSource::Status::Stopped);

    ASSERT_EQ(loadMusic("Audio/theme.wav", "theme"), 0);
    Music* music = resources.getMusic("theme");
    ASSERT_NE(music, nullptr);
    music->play(true);
    EXPECT_TRUE(music->getMusic().isLooping());
    music->play(false);
    EXPECT_FALSE(music->getMusic().isLooping());
    music->stop();
    EXPECT_EQ(music->getMusic().getStatus(), sf::SoundSource::Status::Stopped);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(SoundMusicTest, MissingSoundFileKeepsASilentEntry) {
    EXPECT_EQ(loadSound("Audio/SFX/none.wav", "ghost"), -1);
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Failed to load sound file Audio/SFX/none.wav"});
    EXPECT_EQ(resources.getSoundCount(), 1);
    Sound* sound = resources.getSound("ghost");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->getLabel(), "ghost");
    sound->play(true); // an empty buffer plays nothing, and must not fail
    sound->stop();
}

TEST_F(SoundMusicTest, MissingMusicFileLogsButStillReturnsZero) {
    EXPECT_EQ(loadMusic("Audio/none.wav", "silence"), 0);
    EXPECT_EQ(resourceLogMessages(), Lines{"ERROR: Failed to open music file Audio/none.wav"});
    EXPECT_EQ(resources.getMusicCount(), 1);
    Music* music = resources.getMusic("silence");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->getLabel(), "silence");
    music->play(true);
    music->stop();
}

TEST_F(SoundMusicTest, UnreadableFilesAreRejectedLikeMissingOnes) {
    writeResourceFile("Audio/SFX/text.wav", "this is not audio\n");
    EXPECT_EQ(loadSound("Audio/SFX/text.wav", "noise"), -1);
    EXPECT_EQ(loadMusic("Audio/SFX/text.wav", "noise"), 0);
    EXPECT_EQ(resourceLogMessages(), (Lines{"ERROR: Failed to load sound file Audio/SFX/text.wav",
                                            "ERROR: Failed to open music file Audio/SFX/text.wav"}));
}

TEST_F(SoundMusicTest, FullSoundTableDiscardsTheNextSound) {
    for (int i = 0; i < bw::MAX_SOUNDS; ++i)
        ASSERT_EQ(loadSound("Audio/SFX/tone.wav", "s" + std::to_string(i)), 0) << i;
    EXPECT_EQ(loadSound("Audio/SFX/tone.wav", "one-too-many"), -1);
    EXPECT_EQ(resources.getSoundCount(), bw::MAX_SOUNDS);
    EXPECT_EQ(resources.getSound("one-too-many"), nullptr);
    EXPECT_NE(resources.getSound("s191"), nullptr);
    EXPECT_EQ(resourceLogMessages(),
              Lines{"WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded"});
    // Level 1: gone when only errors are written.
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(loadSound("Audio/SFX/tone.wav", "still-too-many"), -1);
    EXPECT_EQ(resourceLogMessages().size(), 1u);
}

TEST_F(SoundMusicTest, FullMusicTableDiscardsTheNextMusic) {
    for (int i = 0; i < bw::MAX_MUSICS; ++i)
        ASSERT_EQ(loadMusic("Audio/theme.wav", "m" + std::to_string(i)), 0) << i;
    EXPECT_EQ(loadMusic("Audio/theme.wav", "one-too-many"), -1);
    EXPECT_EQ(resources.getMusicCount(), bw::MAX_MUSICS);
    EXPECT_EQ(resources.getMusic("one-too-many"), nullptr);
    EXPECT_NE(resources.getMusic("m63"), nullptr);
    EXPECT_EQ(resourceLogMessages(),
              Lines{"WARNING: Tried to load more music than MAX_MUSICS, music discarded"});
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(loadMusic("Audio/theme.wav", "still-too-many"), -1);
    EXPECT_EQ(resourceLogMessages().size(), 1u);
}

TEST_F(SoundMusicTest, FirstOfTwoEqualLabelsIsFound) {
    loadSound("Audio/SFX/tone.wav", "twice");
    loadSound("Audio/SFX/none.wav", "twice");
    Sound* first = resources.getSound("twice");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getSound().getBuffer().getSampleCount(), static_cast<std::uint64_t>(TONE_SAMPLES));

    loadMusic("Audio/theme.wav", "twice");
    loadMusic("Audio/none.wav", "twice");
    Music* music = resources.getMusic("twice");
    ASSERT_NE(music, nullptr);
    EXPECT_GT(music->getMusic().getSampleRate(), 0u);
    EXPECT_EQ(resources.getSound("Twice"), nullptr);
    EXPECT_EQ(resources.getMusic("twice "), nullptr);
}

TEST_F(SoundMusicTest, UnloadingTheFirstOfThreeSoundsKeepsOrderAndFillsFromTheEnd) {
    loadSound("Audio/SFX/tone.wav", "a");
    loadSound("Audio/SFX/tone.wav", "b");
    loadSound("Audio/SFX/tone.wav", "c");
    Sound* b = resources.getSound("b");
    Sound* c = resources.getSound("c");
    b->play(true);
    resources.getSound("a")->play(true);
    EXPECT_EQ(resources.unloadSound("a"), 0);
    EXPECT_EQ(resources.getSoundCount(), 2);
    EXPECT_EQ(resources.getSound("a"), nullptr);
    EXPECT_EQ(resources.getSound("b"), b);
    EXPECT_EQ(resources.getSound("c"), c);
    // The next sound goes behind the other two: an equal label does not hide the older entry.
    loadSound("Audio/SFX/none.wav", "b");
    EXPECT_EQ(resources.getSoundCount(), 3);
    EXPECT_EQ(resources.getSound("b"), b);
    EXPECT_EQ(resources.unloadSound("b"), 0);
    Sound* later = resources.getSound("b");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->getSound().getBuffer().getSampleCount(), 0u);
}

TEST_F(SoundMusicTest, UnloadingTheFirstOfThreeMusicsKeepsOrderAndFillsFromTheEnd) {
    loadMusic("Audio/theme.wav", "a");
    loadMusic("Audio/theme.wav", "b");
    loadMusic("Audio/theme.wav", "c");
    Music* b = resources.getMusic("b");
    Music* c = resources.getMusic("c");
    resources.getMusic("a")->play(true);
    EXPECT_EQ(resources.unloadMusic("a"), 0);
    EXPECT_EQ(resources.getMusicCount(), 2);
    EXPECT_EQ(resources.getMusic("a"), nullptr);
    EXPECT_EQ(resources.getMusic("b"), b);
    EXPECT_EQ(resources.getMusic("c"), c);
    loadMusic("Audio/none.wav", "b");
    EXPECT_EQ(resources.getMusicCount(), 3);
    EXPECT_EQ(resources.getMusic("b"), b);
}

TEST_F(SoundMusicTest, UnloadingUnknownLabelsWarnsWithTheLabelQuoted) {
    loadSound("Audio/SFX/tone.wav", "known");
    loadMusic("Audio/theme.wav", "known");
    EXPECT_EQ(resources.unloadSound("unknown one"), -1);
    EXPECT_EQ(resources.unloadMusic("Known"), -1);
    EXPECT_EQ(resources.getSoundCount(), 1);
    EXPECT_EQ(resources.getMusicCount(), 1);
    // These warnings are written at level 0.
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(resources.unloadSound(""), -1);
    EXPECT_EQ(resourceLogMessages(), (Lines{"WARNING: could not find sound \"unknown one\" to unload",
                                            "WARNING: could not find music \"Known\" to unload",
                                            "WARNING: could not find sound \"\" to unload"}));
}

} // namespace
