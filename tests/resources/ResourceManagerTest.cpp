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
using R = bw::ResourceManager;

namespace {

// One table, reached the same way whatever it holds; what it already holds stays untouched, and
// it is left as it was found. Of the two warnings, one is written at level 0, the other at level 1.
template <typename Entry>
void checkTable(Label file, int limit, int (R::*load)(Label, Label), int (R::*unload)(Label),
                Entry* (R::*get)(Label) const, int (R::*count)() const, Label full, Label unknown, bool full_at_0) {
    SCOPED_TRACE(full);
    restartLogForResourceTest();
    R& rm = R::getInstance();
    const auto find = [&](Label label) { return (rm.*get)(label); };
    for (const char* label : {"x", "x", "b", "c"}) EXPECT_EQ((rm.*load)(file, label), 0);
    const Entry *x = find("x"), *b = find("b"), *c = find("c");
    // The first of two goes and the others move up in order; a second "b" goes behind them.
    EXPECT_FALSE((rm.*unload)("x") || (rm.*load)(file, "b") || (rm.*unload)("b"));
    EXPECT_TRUE(find("x") != nullptr && find("x") != x && find("b") != nullptr && find("b") != b);
    EXPECT_EQ(find("c"), c);
    while ((rm.*count)() < limit) ASSERT_EQ((rm.*load)(file, "s"), 0) << (rm.*count)();
    for (const int level : {-1, 0}) {
        bw::LogManager::getInstance().setLogLevel(level);
        EXPECT_TRUE((rm.*load)(file, "extra") == -1 && (rm.*unload)("gone") == -1);
    }
    EXPECT_EQ(resourceLogMessages(), (Lines{full, unknown, full_at_0 ? full : unknown}));
    EXPECT_FALSE((rm.*unload)("x") || (rm.*load)(file, "extra")); // a freed slot takes the next entry
    for (const char* label : {"s", "b", "c", "extra"}) for (int i = 0; i < limit && (rm.*unload)(label) == 0; ++i) {}
}

// A failed sound or music file keeps its entry, silent; playing it must not bring SFML down.
// play() sets the status before it returns, with or without an audio device; only the end of a
// source that does not loop changes it later, so right after play(true) it cannot have moved on.
TEST(ResourceManagerTest, TablesFindTheFirstExactLabelKeepOrderDiscardWhenFullAndKeepSilentSoundsAndMusic) {
    TempWorkDir dir;
    // Files of the game, as the build leaves them.
    const std::string sprite = std::string(TARNWICK_RUN_DIR) + "/" + gameFile(SPRITE, "saucer");
    const std::string tone = std::string(TARNWICK_RUN_DIR) + "/" + gameFile(SOUND, "player-fall");
    checkTable(sprite, bw::MAX_SPRITES, &R::loadSprite, &R::unloadSprite, &R::getSprite, &R::getSpriteCount,
               "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded",
               "WARNING: attempted to unload sprite that doesn't exist", true);
    checkTable(tone, bw::MAX_SOUNDS, &R::loadSound, &R::unloadSound, &R::getSound, &R::getSoundCount,
               "WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded",
               "WARNING: could not find sound \"gone\" to unload", false);
    checkTable(tone, bw::MAX_MUSICS, &R::loadMusic, &R::unloadMusic, &R::getMusic, &R::getMusicCount,
               "WARNING: Tried to load more music than MAX_MUSICS, music discarded",
               "WARNING: could not find music \"gone\" to unload", false);

    R& rm = R::getInstance();
    restartLogForResourceTest();
    EXPECT_EQ(rm.loadSprite(sprite, "a"), 0);
    EXPECT_EQ(rm.startUp(), 0); // empties the sprite table without starting
    EXPECT_EQ(rm.loadSprite("missing.txt", "ghost"), -1);
    EXPECT_EQ(rm.loadSound("none.wav", "ghost"), -1);
    EXPECT_EQ(rm.loadMusic("none.wav", "ghost"), 0); // opening music never fails the load
    EXPECT_EQ(resourceLogMessages(),
              (Lines{"Started up ResourceManager", "ERROR: Failed to open sprite file: missing.txt",
                     "ERROR: Failed to load sound file none.wav", "ERROR: Failed to open music file none.wav"}));
    EXPECT_EQ(rm.getSpriteCount(), 0);
    ASSERT_TRUE(rm.getSound("ghost") != nullptr && rm.getMusic("ghost") != nullptr);
    rm.getSound("ghost")->play(true);
    rm.getMusic("ghost")->play(true);
    EXPECT_EQ(rm.getMusic("ghost")->getMusic().getStatus(), sf::SoundSource::Status::Stopped) << "nothing to play";
    rm.loadSound(tone, "tone");
    rm.loadMusic(tone, "theme");
    rm.getSound("tone")->play(true);
    EXPECT_EQ(rm.getSound("tone")->getSound().getStatus(), sf::SoundSource::Status::Playing);
    rm.getMusic("theme")->play(true);
    EXPECT_EQ(rm.getMusic("theme")->getMusic().getStatus(), sf::SoundSource::Status::Playing);
    bw::LogManager::getInstance().shutDown();
    sf::Music probe;
    probe.setLooping(true);
    if (!probe.isLooping()) GTEST_SKIP() << "without an audio device SFML keeps no looping state";
    EXPECT_TRUE(rm.getMusic("ghost")->getMusic().isLooping());
    EXPECT_TRUE(rm.getSound("tone")->getSound().isLooping());
}

} // namespace
