// The resource manager's three tables (sprites, sounds, music): finding entries by label,
// unloading, the table limits, failed files, and playing what they hold.
#include "ResourceManager.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;
using Label = const std::string&;
using bw::ResourceManager;

namespace {

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override { restartLogForResourceTest(); }
    void TearDown() override {
        rm.startUp(); // the manager outlives the test: empty its sprite table again
        bw::LogManager::getInstance().shutDown();
    }

    // One table, reached the same way whatever it holds; what it already holds stays untouched.
    template <typename Entry>
    void checkTable(Label file, int limit, int (ResourceManager::*load)(Label, Label),
                    int (ResourceManager::*unload)(Label), Entry* (ResourceManager::*get)(Label) const,
                    int (ResourceManager::*count)() const, Label full, int full_level, Label unknown,
                    int unknown_level) {
        SCOPED_TRACE(full);
        restartLogForResourceTest();
        const auto find = [&](Label label) { return (rm.*get)(label); };
        for (const char* label : {"x", "x", "b", "c"}) EXPECT_EQ((rm.*load)(file, label), 0);
        const Entry *x = find("x"), *b = find("b"), *c = find("c");
        EXPECT_NE(x, nullptr);
        EXPECT_EQ((rm.*unload)("x"), 0); // the first of the two goes, the others move up in order
        EXPECT_TRUE(find("x") != nullptr && find("x") != x);
        EXPECT_EQ((rm.*load)(file, "b"), 0); // goes behind the others
        EXPECT_EQ((rm.*unload)("b"), 0);
        EXPECT_TRUE(find("b") != nullptr && find("b") != b);
        EXPECT_EQ(find("c"), c);

        const int before = (rm.*count)();
        for (int i = before; i < limit; ++i) ASSERT_EQ((rm.*load)(file, "s" + std::to_string(i)), 0) << i;
        for (const int level : {-1, 0}) {
            bw::LogManager::getInstance().setLogLevel(level);
            EXPECT_EQ((rm.*load)(file, "extra"), -1);
            EXPECT_EQ((rm.*unload)("gone"), -1);
        }
        EXPECT_EQ((rm.*count)(), limit);
        Lines log = {full, unknown};
        if (full_level == 0) log.push_back(full);
        if (unknown_level == 0) log.push_back(unknown);
        EXPECT_EQ(resourceLogMessages(), log);
        EXPECT_EQ((rm.*unload)("x"), 0); // a freed slot takes the next entry
        EXPECT_EQ((rm.*load)(file, "extra"), 0);
        for (int i = before; i < limit; ++i) (rm.*unload)("s" + std::to_string(i));
        for (const char* label : {"b", "c", "extra"}) (rm.*unload)(label);
    }

    ResourceManager& rm = ResourceManager::getInstance();
    TempWorkDir dir;
    // Files of the game, as the build leaves them.
    const std::string sprite = std::string(TARNWICK_RUN_DIR) + "/" + gameFile(SPRITE, "saucer");
    const std::string tone = std::string(TARNWICK_RUN_DIR) + "/" + gameFile(SOUND, "player-fall");
};

TEST_F(ResourceManagerTest, EachTableFindsTheFirstExactLabelKeepsOrderOnUnloadAndDiscardsWhenFull) {
    using R = ResourceManager;
    checkTable(sprite, bw::MAX_SPRITES, &R::loadSprite, &R::unloadSprite, &R::getSprite, &R::getSpriteCount,
               "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded", 0,
               "WARNING: attempted to unload sprite that doesn't exist", 1);
    checkTable(tone, bw::MAX_SOUNDS, &R::loadSound, &R::unloadSound, &R::getSound, &R::getSoundCount,
               "WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded", 1,
               "WARNING: could not find sound \"gone\" to unload", 0);
    checkTable(tone, bw::MAX_MUSICS, &R::loadMusic, &R::unloadMusic, &R::getMusic, &R::getMusicCount,
               "WARNING: Tried to load more music than MAX_MUSICS, music discarded", 1,
               "WARNING: could not find music \"gone\" to unload", 0);
}

// A failed sound or music file keeps its entry, silent; playing it must not bring SFML down.
TEST_F(ResourceManagerTest, FailedFilesAddNoSpriteButKeepSilentSoundsAndMusic) {
    EXPECT_EQ(rm.loadSprite(sprite, "a"), 0);
    EXPECT_EQ(rm.startUp(), 0); // empties the sprite table without starting
    EXPECT_FALSE(rm.isStarted());
    EXPECT_EQ(rm.loadSprite("missing.txt", "ghost"), -1);
    EXPECT_EQ(rm.loadSound("none.wav", "ghost"), -1);
    EXPECT_EQ(rm.loadMusic("none.wav", "ghost"), 0); // opening music never fails the load
    EXPECT_EQ(resourceLogMessages(),
              (Lines{"Started up ResourceManager", "ERROR: Failed to open sprite file: missing.txt",
                     "ERROR: Failed to load sound file none.wav", "ERROR: Failed to open music file none.wav"}));
    EXPECT_EQ(rm.getSpriteCount(), 0);
    bw::Music* music = rm.getMusic("ghost");
    ASSERT_TRUE(rm.getSound("ghost") != nullptr && music != nullptr);
    rm.getSound("ghost")->play(true);
    sf::Music probe;
    probe.setLooping(true);
    if (!probe.isLooping()) GTEST_SKIP() << "without an audio device SFML keeps no looping state";
    music->play(true);
    EXPECT_TRUE(music->getMusic().isLooping());
    EXPECT_EQ(music->getMusic().getStatus(), sf::SoundSource::Status::Stopped) << "it has nothing to play";
    rm.loadSound(tone, "tone");
    rm.loadMusic(tone, "theme");
    rm.getSound("tone")->play(true);
    rm.getMusic("theme")->play(true);
    EXPECT_TRUE(rm.getSound("tone")->getSound().isLooping());
    EXPECT_EQ(rm.getSound("tone")->getSound().getStatus(), sf::SoundSource::Status::Playing);
    EXPECT_EQ(rm.getMusic("theme")->getMusic().getStatus(), sf::SoundSource::Status::Playing);
}

} // namespace
