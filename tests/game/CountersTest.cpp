// The score counter (points, their sound and pop-up, the bottom-right text) and the silk
// counter (charge between 0 and its sprite's last frame). No window: drawing is seen through
// what the display manager logs when it is asked to draw.
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "LogManager.h"
#include "PopUp.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WebObject.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const bw::Color FLY_PINK(227, 99, 151, 1.0f);
const bw::Color KILL_RED(242, 66, 54, 1.0f);
const std::string DRAW_CALLED = "draw string has been called";
const std::string DRAW_WARNING = "WARNING: attempted to draw character before window initialized";

/// Every test starts with an empty world, so the counters are made afresh on first use.
class CounterTest : public ::testing::Test {
protected:
    void SetUp() override {
        bw::LogManager::getInstance().shutDown();
        bw::LogManager::getInstance().startUp();
        bw::LogManager::getInstance().setLogLevel(-1);
        world.shutDown();
        world.startUp();
    }
    void TearDown() override { world.shutDown(); }

    /// Log messages written from now on.
    void markLog() { log_mark = readLogLines().size(); }
    std::vector<std::string> linesSinceMark() const {
        const auto lines = readLogLines();
        return {lines.begin() + static_cast<long>(log_mark), lines.end()};
    }

    static std::vector<PopUp*> popUps() {
        std::vector<PopUp*> found;
        for (bw::Object* object : bw::WorldManager::getInstance().objectsOfType("PopUp"))
            found.push_back(static_cast<PopUp*>(object));
        return found;
    }

    TempWorkDir dir;
    bw::WorldManager& world = bw::WorldManager::getInstance();
    std::size_t log_mark = 0;
};

using ScoreCounterTest = CounterTest;

TEST_F(ScoreCounterTest, IsOneObjectInTheBottomRightCornerStartingAtZero) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    EXPECT_EQ(&ScoreCounter::getInstance(), &counter);
    EXPECT_TRUE(world.getAllObjects().contains(&counter));
    EXPECT_EQ(counter.getPosition(), Vector(78, 22));
    EXPECT_EQ(counter.getAltitude(), 4);
    EXPECT_EQ(counter.getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(counter.getType(), "undefined_object");
    EXPECT_EQ(counter.getSprite(), nullptr);
    EXPECT_EQ(counter.getScore(), 0);
    EXPECT_TRUE(counter.isVisible());
}

TEST_F(ScoreCounterTest, ComesBackFreshAfterTheWorldDestroyedIt) {
    ScoreCounter::getInstance().addPoints(250, Vector(10, 10), KILL_RED, false);
    world.shutDown();
    world.startUp();
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
    EXPECT_TRUE(world.getAllObjects().contains(&ScoreCounter::getInstance()));
}

TEST_F(ScoreCounterTest, PointsAddUpWithoutLimit) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.addPoints(50, Vector(10, 5), FLY_PINK, false);
    counter.addPoints(250, Vector(20, 8), KILL_RED, false);
    EXPECT_EQ(counter.getScore(), 300);
    counter.addPoints(2000000000, Vector(20, 8), KILL_RED, false);
    EXPECT_EQ(counter.getScore(), 2000000300);
}

TEST_F(ScoreCounterTest, PointsWithAPositionRaiseTheBareNumberThere) {
    ScoreCounter::getInstance().addPoints(50, Vector(12.5f, 7.25f), FLY_PINK, false);
    const auto popups = popUps();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0]->getText(), "50");
    EXPECT_EQ(popups[0]->getPosition(), Vector(12.5f, 7.25f));
    EXPECT_EQ(popups[0]->getColor(), FLY_PINK);
}

TEST_F(ScoreCounterTest, PointsWithNoPositionRaisePlusTheNumberAtTheCounter) {
    ScoreCounter::getInstance().addPoints(50, NO_POSITION, KILL_RED, false);
    const auto popups = popUps();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0]->getText(), "+50");
    EXPECT_EQ(popups[0]->getPosition(), Vector(78, 22));
    EXPECT_EQ(popups[0]->getColor(), KILL_RED);
}

TEST_F(ScoreCounterTest, OnlyBothCoordinatesMinusOneMeanNoPosition) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.addPoints(200, Vector(-1, 3), bw::COLOR_WHITE, false);
    counter.addPoints(300, Vector(3, -1), bw::COLOR_WHITE, false);
    counter.addPoints(400, Vector(-1, -1.5f), bw::COLOR_WHITE, false);
    const auto popups = popUps();
    ASSERT_EQ(popups.size(), 3u);
    EXPECT_EQ(popups[0]->getText(), "200");
    EXPECT_EQ(popups[0]->getPosition(), Vector(-1, 3));
    EXPECT_EQ(popups[1]->getText(), "300");
    EXPECT_EQ(popups[2]->getText(), "400");
    EXPECT_EQ(popups[2]->getPosition(), Vector(-1, -1.5f));
}

TEST_F(ScoreCounterTest, EveryAwardPlaysPointsGainedUnlessItChargedTheSilk) {
    if (!cuesObservable()) GTEST_SKIP() << "no audio device to observe sounds with";
    const std::vector<std::string> cues = {"points-gained", "silk-charged"};
    loadCueSounds(dir.path(), cues);
    ScoreCounter& counter = ScoreCounter::getInstance();

    stopCues(cues);
    counter.addPoints(50, Vector(10, 10), FLY_PINK, false);
    EXPECT_TRUE(cueIsPlaying("points-gained"));
    EXPECT_FALSE(cueIsPlaying("silk-charged"));

    stopCues(cues);
    counter.addPoints(50, Vector(10, 10), FLY_PINK, true);
    EXPECT_TRUE(cueIsPlaying("silk-charged"));
    EXPECT_FALSE(cueIsPlaying("points-gained"));
}

TEST_F(ScoreCounterTest, ResetClearsTheScoreAndShowsTheCounter) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.addPoints(400, Vector(10, 10), bw::COLOR_WHITE, false);
    counter.hide();
    counter.reset();
    EXPECT_EQ(counter.getScore(), 0);
    EXPECT_TRUE(counter.isVisible());
}

TEST_F(ScoreCounterTest, DrawsScoreAndTheNumberRightJustifiedWhileShown) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.addPoints(120, Vector(10, 10), bw::COLOR_WHITE, false);
    markLog();
    // Without a window the first character fails, after the string has been logged.
    EXPECT_EQ(counter.draw(), -1);
    const auto lines = linesSinceMark();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], DRAW_CALLED);
    EXPECT_EQ(lines[1], "SCORE: 120");
}

TEST_F(ScoreCounterTest, HiddenItDrawsNothingAndKeepsItsScore) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.addPoints(120, Vector(10, 10), bw::COLOR_WHITE, false);
    counter.hide();
    markLog();
    EXPECT_EQ(counter.draw(), 0);
    EXPECT_TRUE(linesSinceMark().empty());
    EXPECT_FALSE(counter.isVisible());
    EXPECT_EQ(counter.getScore(), 120);
    // Points still count while hidden; only the next game start clears them.
    counter.addPoints(50, Vector(10, 10), bw::COLOR_WHITE, false);
    EXPECT_EQ(counter.getScore(), 170);
}

/// The silk counter with a seven-frame sprite, five cells wide and three high.
class SilkCounterTest : public CounterTest {
protected:
    void SetUp() override {
        CounterTest::SetUp();
        std::string text = "frames 7\nwidth 5\nheight 3\ndefault_color #FFFFFF\ndefault_slowdown 1\n<BODY>\n";
        for (int frame = 0; frame < 7; ++frame) {
            const std::string row(5, static_cast<char>('0' + frame));
            text += row + "\n" + row + "\n" + row + "\nend\n";
        }
        text += "</BODY>\n";
        writeResourceFile(dir.path() / "counter.txt", text);
        ASSERT_EQ(resources.loadSprite((dir.path() / "counter.txt").string(), "silk-counter-spr"), 0);
    }
    void TearDown() override {
        // The counter holds the sprite: destroy it first.
        CounterTest::TearDown();
        if (resources.getSprite("silk-counter-spr")) resources.unloadSprite("silk-counter-spr");
    }

    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
};

TEST_F(SilkCounterTest, ShowsItsSpriteThreeCellsFromTheLeftAndThreeRowsAboveTheBottom) {
    SilkCounter& counter = SilkCounter::getInstance();
    EXPECT_EQ(&SilkCounter::getInstance(), &counter);
    EXPECT_EQ(counter.getType(), "SilkCounter");
    EXPECT_EQ(counter.getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(counter.getAltitude(), 4);
    ASSERT_NE(counter.getSprite(), nullptr);
    EXPECT_EQ(counter.getSprite()->getLabel(), "silk-counter-spr");
    EXPECT_EQ(counter.getBox().getHorizontal(), 5.0f);
    EXPECT_EQ(counter.getBox().getVertical(), 3.0f);
    // Centred on x = 5.5, the five columns start at x = 3.
    EXPECT_EQ(counter.getPosition(), Vector(5.5f, 21));
    EXPECT_EQ(counter.getCharge(), 0);
    EXPECT_TRUE(counter.isVisible());
}

TEST_F(SilkCounterTest, ChargeStopsAtTheSpritesLastFrame) {
    SilkCounter& counter = SilkCounter::getInstance();
    for (int i = 1; i <= 6; ++i) {
        counter.addCharge();
        EXPECT_EQ(counter.getCharge(), i);
    }
    counter.addCharge();
    counter.addCharge();
    EXPECT_EQ(counter.getCharge(), 6);
}

TEST_F(SilkCounterTest, ChargedFromThreeOn) {
    SilkCounter& counter = SilkCounter::getInstance();
    counter.addCharge();
    counter.addCharge();
    EXPECT_FALSE(counter.isCharged());
    counter.addCharge();
    EXPECT_TRUE(counter.isCharged());
    counter.addCharge();
    EXPECT_TRUE(counter.isCharged());
}

TEST_F(SilkCounterTest, UsingTheChargeTakesThreeButNeverGoesBelowZero) {
    SilkCounter& counter = SilkCounter::getInstance();
    for (int i = 0; i < 5; ++i)
        counter.addCharge();
    counter.useCharge();
    EXPECT_EQ(counter.getCharge(), 2);
    counter.useCharge();
    EXPECT_EQ(counter.getCharge(), 0);
    counter.useCharge();
    EXPECT_EQ(counter.getCharge(), 0);
}

TEST_F(SilkCounterTest, ResetEmptiesAndShowsIt) {
    SilkCounter& counter = SilkCounter::getInstance();
    counter.addCharge();
    counter.addCharge();
    counter.hide();
    counter.reset();
    EXPECT_EQ(counter.getCharge(), 0);
    EXPECT_TRUE(counter.isVisible());
}

TEST_F(SilkCounterTest, HiddenItDrawsNothingAndKeepsItsCharge) {
    SilkCounter& counter = SilkCounter::getInstance();
    counter.addCharge();
    counter.addCharge();
    counter.hide();
    markLog();
    EXPECT_EQ(counter.draw(), 0);
    EXPECT_TRUE(linesSinceMark().empty());
    EXPECT_EQ(counter.getCharge(), 2);
    counter.addCharge();
    EXPECT_EQ(counter.getCharge(), 3);
}

TEST_F(SilkCounterTest, ShownItDrawsItsSprite) {
    SilkCounter& counter = SilkCounter::getInstance();
    markLog();
    // Without a window the frame cannot be drawn, which the display manager reports.
    EXPECT_EQ(counter.draw(), -1);
    const auto lines = linesSinceMark();
    EXPECT_NE(std::find(lines.begin(), lines.end(), DRAW_WARNING), lines.end());
}

TEST_F(SilkCounterTest, WithoutItsSpriteItNeitherChargesNorCrashes) {
    world.shutDown();
    resources.unloadSprite("silk-counter-spr");
    world.startUp();
    SilkCounter& counter = SilkCounter::getInstance();
    EXPECT_EQ(counter.getSprite(), nullptr);
    EXPECT_TRUE(logHasLineStartingWith("WARNING: no sprite labelled \"silk-counter-spr\""));
    counter.addCharge();
    EXPECT_EQ(counter.getCharge(), 0);
    EXPECT_FALSE(counter.isCharged());
    EXPECT_EQ(counter.draw(), -1);
}

} // namespace
