// The game's entry: its resource list loaded from a run folder (complete, with files missing, or
// empty), the shipped sprites having what the game's objects rely on, and the built program
// refusing to run without a display.
#include "GameResources.h"

#include "GameStart.h"
#include "ResourceManager.h"
#include "SilkCounter.h"
#include "Sound.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "ScreenSession.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts linesWith(const std::string& text) {
    Texts found;
    for (const std::string& line : readLogLines())
        if (line.find(text) != std::string::npos) found.push_back(line);
    return found;
}

/// Each test loads into an empty resource manager, in a temporary working directory.
class GameEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().shutDown();
        forgetResources();
        bw::WorldManager::getInstance().startUp();
    }
    void TearDown() override { bw::WorldManager::getInstance().shutDown(); }
    void forgetResources() {
        resources.startUp(); // drops every sprite
        for (const ResourceEntry& entry : GAME_RESOURCES) {
            while (entry.kind == SOUND && resources.getSound(entry.label)) resources.unloadSound(entry.label);
            while (entry.kind == MUSIC && resources.getMusic(entry.label)) resources.unloadMusic(entry.label);
        }
    }
    /// Loads the game's resources from a copy of the built run folder without the files named.
    void loadFromRunFolder(const Texts& skip = {}) {
        ASSERT_TRUE(ScreenSession::copyRunFolder(dir.path(), skip)) << "no game in " << TARNWICK_RUN_DIR;
        loadResources();
    }
    const bw::Sprite* sprite(const std::string& label) const { return resources.getSprite(label); }

    TempWorkDir dir;
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
};

TEST_F(GameEntryTest, InAnEmptyFolderEveryFileIsReportedInTableOrder) {
    loadResources();
    Texts expected = {std::string("ERROR: Unable to load font ") + GAME_FONT_FILE};
    const std::string reports[] = {"ERROR: Failed to open sprite file: ", "ERROR: Failed to load sound file ",
                                   "ERROR: Failed to open music file "};
    for (const ResourceEntry& entry : GAME_RESOURCES) expected.push_back(reports[entry.kind] + entry.file);
    EXPECT_EQ(linesWith("ERROR:"), expected);
}

TEST_F(GameEntryTest, FromTheRunFolderEveryResourceLoadsCleanlyAsTheGameNeedsIt) {
    loadFromRunFolder();
    EXPECT_EQ(linesWith("ERROR:"), Texts{});
    EXPECT_EQ(linesWith("WARNING:"), Texts{});
    EXPECT_EQ(resources.getSpriteCount(), 20);
    EXPECT_EQ(resources.getSoundCount(), 12);
    EXPECT_EQ(resources.getMusicCount(), 2);
    for (const ResourceEntry& entry : GAME_RESOURCES) {
        if (entry.kind != SPRITE) continue;
        const std::string label = entry.label;
        SCOPED_TRACE(label);
        const bw::Sprite* art = sprite(label);
        ASSERT_NE(art, nullptr);
        ASSERT_EQ(resources.loadSprite(entry.file, "probe"), 0);
        EXPECT_EQ(art->getFrame(0).getString(), sprite("probe")->getFrame(0).getString());
        resources.unloadSprite("probe");
        // A frame block not closed by "end" is dropped silently; the count shows it.
        EXPECT_EQ(art->getFrameCount(), art->getMaxFrameCount());
        for (int i = 0; i < art->getFrameCount(); ++i) {
            EXPECT_GT(art->getFrame(i).getSlowdown(), 0) << "frame " << i << " would never end";
            EXPECT_NE(art->getFrame(i).getString().find_first_not_of(' '), std::string::npos) << i;
        }
        // What moves on the web fits between intersections (80 / 7 columns, 24 / 5 rows apart)
        // and lets the strings show through its blanks.
        if (label == "player-spr" || label == "silk-counter-spr" || label.ends_with("-text")) continue;
        ASSERT_NE(art->getTransparency(), nullptr);
        EXPECT_EQ(*art->getTransparency(), ' ');
        EXPECT_LT(art->getWidth() * Web::LAST_COLUMN, 80);
        EXPECT_LT(art->getHeight() * Web::LAST_ROW, 24);
    }
    // The fly's intro lasts about 0.7 s of 30 ms steps, the spider's fall about 1.3 s.
    EXPECT_GE(sprite("fly-intro")->getTotalSlowdown(), 21);
    EXPECT_LE(sprite("fly-intro")->getTotalSlowdown(), 24);
    EXPECT_GE(sprite("player-fall")->getTotalSlowdown(), 40);
    EXPECT_LE(sprite("player-fall")->getTotalSlowdown(), 45);
    // A frame, each a different picture, for every charge up to a shot's worth at least.
    const bw::Sprite* counter = sprite("silk-counter-spr");
    EXPECT_GE(counter->getFrameCount(), SHOT_COST + 1);
    for (int charge = 1; charge < counter->getFrameCount(); ++charge)
        EXPECT_NE(counter->getFrame(charge).getString(), counter->getFrame(charge - 1).getString()) << charge;
    // The player's fall and a saucer's crash: one file, two sounds.
    const bw::Sound* crash = resources.getSound("saucer-crash");
    const bw::Sound* fall = resources.getSound("player-fall");
    ASSERT_TRUE(crash && fall);
    EXPECT_NE(crash, fall);
    EXPECT_GT(crash->getSound().getBuffer().getSampleCount(), 0u);
    EXPECT_EQ(crash->getSound().getBuffer().getSampleCount(), fall->getSound().getBuffer().getSampleCount());
}

TEST_F(GameEntryTest, MissingFilesAreReportedOnceEachTheRestLoadsAndTheGameStillRuns) {
    const Texts missing = {gameFile(SPRITE, "player-spr"), gameFile(SPRITE, "title-text"),
                           gameFile(SPRITE, "silk-counter-spr"), gameFile(SOUND, "player-eat"),
                           gameFile(MUSIC, "title-song")};
    loadFromRunFolder(missing);
    EXPECT_EQ(linesWith("ERROR:").size(), missing.size());
    for (const std::string& file : missing)
        EXPECT_EQ(linesWith(file).size(), 1u) << file;
    EXPECT_EQ(resources.getSpriteCount(), 17);

    // A game and its game-over screen without the title sprite, its music and a sound.
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(start.draw(), 1);
    sendKey(&start, bw::KEY_W);
    for (int i = 0; i < 80; ++i) {
        if (i == 40) start.gameOver();
        stepWorld(i);
    }
    sendKey(&start, bw::KEY_W);
    EXPECT_EQ(start.draw(), 1);
    EXPECT_EQ(start.getState(), TITLE);
}

TEST_F(GameEntryTest, TheBuiltGameRefusesToRunWithoutADisplay) {
    ScreenSession session(dir.path() / "game");
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder())) << "no built game in " << TARNWICK_RUN_DIR;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(session.start("env -u DISPLAY"));
    const std::optional<int> status = session.waitForExit(5);
    ASSERT_TRUE(status.has_value()) << "the game kept running without a display";
    EXPECT_NE(*status, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    const std::string message = "ERROR: no display: cannot open the game window";
    EXPECT_NE(session.standardError().find(message), std::string::npos) << session.standardError();
    // The managers were shut down after the message, which the log has too.
    const Texts lines = session.logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), message) < lines.end() - 1) << message;
    EXPECT_EQ(lines.back(), "Shutting down LogManager");
}

} // namespace
