// The game's entry: its resource list loaded from a run folder (complete, with files missing,
// or empty) and the built program refusing to run without a display.
#include "GameResources.h"

#include "GameStart.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "Sprite.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ScreenSession.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

const Pairs SPRITES = {
    {"player-spr", "Sprites/O-spr.txt"},
    {"player-right", "Sprites/spider-right.txt"},
    {"player-left", "Sprites/spider-left.txt"},
    {"player-up", "Sprites/spider-up.txt"},
    {"player-down", "Sprites/spider-down.txt"},
    {"player-fall", "Sprites/spider-fall.txt"},
    {"enemy-right", "Sprites/giant-enemy-spider-right.txt"},
    {"enemy-left", "Sprites/giant-enemy-spider-left.txt"},
    {"enemy-up", "Sprites/giant-enemy-spider-up.txt"},
    {"enemy-down", "Sprites/giant-enemy-spider-down.txt"},
    {"silk-shot-right", "Sprites/silk-shot-right.txt"},
    {"silk-shot-left", "Sprites/silk-shot-left.txt"},
    {"silk-shot-up", "Sprites/silk-shot-up.txt"},
    {"silk-shot-down", "Sprites/silk-shot-down.txt"},
    {"fly-intro", "Sprites/fly-intro-spr.txt"},
    {"fly-twitch", "Sprites/fly-twitch-spr.txt"},
    {"silk-counter-spr", "Sprites/silk-counter.txt"},
    {"saucer", "Sprites/saucer!.txt"},
    {"title-text", "Sprites/title-text.txt"},
    {"game-over-text", "Sprites/game-over-text.txt"},
};
const Pairs SOUNDS = {
    {"fly-intro", "Audio/SFX/flyBuzzStuck.wav"},     {"rope-repair", "Audio/SFX/repairRope.wav"},
    {"points-gained", "Audio/SFX/pointsGained.wav"}, {"silk-charged", "Audio/SFX/silkCharged.wav"},
    {"enemy-spawn", "Audio/SFX/enemySpawn.wav"},     {"enemy-sever", "Audio/SFX/cutWeb.wav"},
    {"player-fall", "Audio/SFX/playerFall.wav"},     {"player-shift", "Audio/SFX/shift.wav"},
    {"player-bounce", "Audio/SFX/bounce.wav"},       {"player-eat", "Audio/SFX/slurp.wav"},
    {"saucer-spawn", "Audio/SFX/saucerSpawn.wav"},   {"saucer-crash", "Audio/SFX/playerFall.wav"},
};
const Pairs MUSIC = {{"theme-song", "Audio/TarnwickTheme.wav"}, {"title-song", "Audio/TitleSimple.wav"}};

std::vector<std::string> errorLines() {
    std::vector<std::string> errors;
    for (const std::string& line : readLogLines())
        if (line.rfind("ERROR:", 0) == 0) errors.push_back(line);
    return errors;
}

int linesMentioning(const std::string& text) {
    const auto lines = readLogLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    }));
}

/// Each test loads into an empty resource manager, in a temporary working directory.
class GameEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        forgetResources();
        bw::LogManager::getInstance().shutDown();
        bw::LogManager::getInstance().startUp();
        bw::LogManager::getInstance().setLogLevel(-1);
        bw::WorldManager::getInstance().shutDown();
        bw::WorldManager::getInstance().startUp();
    }
    void TearDown() override {
        bw::WorldManager::getInstance().shutDown();
        forgetResources();
    }

    static void forgetResources() {
        bw::ResourceManager& resources = bw::ResourceManager::getInstance();
        for (const auto& [label, file] : SPRITES)
            while (resources.getSprite(label))
                resources.unloadSprite(label);
        for (const auto& [label, file] : SOUNDS)
            while (resources.getSound(label))
                resources.unloadSound(label);
        for (const auto& [label, file] : MUSIC)
            while (resources.getMusic(label))
                resources.unloadMusic(label);
    }

    /// Copies the run folder's data into the working directory; false when it was not built.
    bool copyRunData(const std::vector<std::string>& leave_out = {}) {
        return ScreenSession::copyRunFolder(dir.path(), leave_out) && fs::exists("Sprites") &&
               fs::exists("Audio");
    }

    TempWorkDir dir;
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
};

TEST_F(GameEntryTest, InAnEmptyFolderEveryFileIsReportedInTableOrder) {
    loadResources();
    std::vector<std::string> expected = {"ERROR: Unable to load font Fonts/DizareruRereru.ttf"};
    for (const auto& [label, file] : SPRITES)
        expected.push_back("ERROR: Failed to open sprite file: " + file);
    for (const auto& [label, file] : SOUNDS)
        expected.push_back("ERROR: Failed to load sound file " + file);
    for (const auto& [label, file] : MUSIC)
        expected.push_back("ERROR: Failed to open music file " + file);
    EXPECT_EQ(errorLines(), expected);
    // Sound and music entries stay, silent, under their labels; sprites are not kept.
    EXPECT_EQ(resources.getSpriteCount(), 0);
    EXPECT_EQ(resources.getSoundCount(), 12);
    EXPECT_EQ(resources.getMusicCount(), 2);
    for (const auto& [label, file] : SOUNDS)
        EXPECT_NE(resources.getSound(label), nullptr) << label;
    for (const auto& [label, file] : MUSIC)
        EXPECT_NE(resources.getMusic(label), nullptr) << label;
}

TEST_F(GameEntryTest, FromTheRunFolderEverythingLoads) {
    ASSERT_TRUE(copyRunData()) << "the run folder " << TARNWICK_RUN_DIR << " is incomplete";
    loadResources();
    EXPECT_EQ(resources.getSpriteCount(), 20);
    EXPECT_EQ(resources.getSoundCount(), 12);
    EXPECT_EQ(resources.getMusicCount(), 2);
    EXPECT_EQ(errorLines(), std::vector<std::string>{});
    for (const auto& [label, file] : SOUNDS)
        EXPECT_NE(resources.getSound(label), nullptr) << label;
    for (const auto& [label, file] : MUSIC)
        EXPECT_NE(resources.getMusic(label), nullptr) << label;
}

TEST_F(GameEntryTest, EachSpriteLabelHoldsItsOwnFile) {
    ASSERT_TRUE(copyRunData());
    loadResources();
    for (const auto& [label, file] : SPRITES) {
        const bw::Sprite* sprite = resources.getSprite(label);
        ASSERT_NE(sprite, nullptr) << label;
        ASSERT_EQ(resources.loadSprite(file, "probe"), 0) << file;
        const bw::Sprite* probe = resources.getSprite("probe");
        EXPECT_EQ(sprite->getWidth(), probe->getWidth()) << label;
        EXPECT_EQ(sprite->getHeight(), probe->getHeight()) << label;
        ASSERT_EQ(sprite->getFrameCount(), probe->getFrameCount()) << label;
        for (int i = 0; i < sprite->getFrameCount(); ++i)
            EXPECT_EQ(sprite->getFrame(i).getString(), probe->getFrame(i).getString())
                << label << " frame " << i;
        resources.unloadSprite("probe");
    }
}

TEST_F(GameEntryTest, SaucerCrashAndPlayerFallAreTwoSoundsOfOneFile) {
    ASSERT_TRUE(copyRunData());
    loadResources();
    const bw::Sound* crash = resources.getSound("saucer-crash");
    const bw::Sound* fall = resources.getSound("player-fall");
    ASSERT_NE(crash, nullptr);
    ASSERT_NE(fall, nullptr);
    EXPECT_NE(crash, fall);
    EXPECT_EQ(crash->getSound().getBuffer().getSampleCount(), fall->getSound().getBuffer().getSampleCount());
    EXPECT_GT(crash->getSound().getBuffer().getSampleCount(), 0u);
    // The sprite "player-fall" is another thing altogether.
    EXPECT_NE(resources.getSprite("player-fall"), nullptr);
}

TEST_F(GameEntryTest, MissingFilesAreReportedOnceEachAndTheRestStillLoads) {
    ASSERT_TRUE(copyRunData({"Sprites/O-spr.txt", "Audio/SFX/slurp.wav"}));
    loadResources();
    EXPECT_EQ(errorLines(),
              (std::vector<std::string>{"ERROR: Failed to open sprite file: Sprites/O-spr.txt",
                                        "ERROR: Failed to load sound file Audio/SFX/slurp.wav"}));
    EXPECT_EQ(linesMentioning("O-spr.txt"), 1);
    EXPECT_EQ(linesMentioning("slurp.wav"), 1);
    EXPECT_EQ(resources.getSpriteCount(), 19);
    EXPECT_EQ(resources.getSprite("player-spr"), nullptr);
    for (const auto& [label, file] : SPRITES) {
        if (label != "player-spr") {
            EXPECT_NE(resources.getSprite(label), nullptr) << label;
        }
    }
    EXPECT_EQ(resources.getSoundCount(), 12);
    EXPECT_EQ(resources.getMusicCount(), 2);
}

TEST_F(GameEntryTest, TheGameStillStartsWithFilesMissing) {
    ASSERT_TRUE(
        copyRunData({"Sprites/title-text.txt", "Audio/TitleSimple.wav", "Audio/SFX/saucerSpawn.wav"}));
    loadResources();
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(start.getSprite(), nullptr);
    EXPECT_EQ(start.draw(), 1);
    // A game and its game-over screen, with the missing title sprite, music and saucer sound.
    sendKey(&start, bw::KEY_W);
    for (int i = 0; i < 40; ++i)
        stepWorld(i);
    start.gameOver();
    for (int i = 40; i < 80; ++i)
        stepWorld(i);
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
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(status.has_value()) << "the game kept running without a display";
    EXPECT_NE(*status, 0);
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_NE(session.standardError().find("ERROR: no display: cannot open the game window"),
              std::string::npos)
        << session.standardError();
    const auto lines = session.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ERROR: no display: cannot open the game window"),
              lines.end());
    // The managers were shut down after the message.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Shutting down LogManager");
}

} // namespace
