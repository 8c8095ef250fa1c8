// The game flow without a window: W starting a game and leaving the game-over screen, Escape
// ending the loop outside play, the six saucers of game over, what each transition deletes, hides
// and resets, the music that follows the state; the score counter's points, sounds and pop-ups,
// the silk counter's charge, and the pop-up's flight. What the screens show is read from the
// window in FlowScreenWindowTest.
#include "GameStart.h"
#include "PopUp.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "EventStep.h"
#include "GameManager.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Saucer.h"
#include "Web.h"
#include "WebObject.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"
#include "WindowDisplayOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const bw::Color KILL_RED(242, 66, 54, 1.0f);

class GameFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        world().shutDown();
        world().startUp();
        loadWebPlaySprites();
        loadEnemySprites();
        loadGameSprite("title-text");
        for (const std::string label : {"title-song", "theme-song"}) {
            if (!resources.getMusic(label))
                resources.loadMusic(std::string(TARNWICK_RUN_DIR) + "/" + gameFile(MUSIC, label), label);
            resources.getMusic(label)->stop(); // music outlives the world: each test starts silent
        }
    }
    void TearDown() override { world().shutDown(); }

    static bw::WorldManager& world() { return bw::WorldManager::getInstance(); }
    static GameStart& start() { return GameStart::getInstance(); }
    static int press(bw::Key key, bw::KeyboardAction action = bw::KEY_PRESSED) {
        return sendKey(&start(), key, action);
    }
    static int count(const std::string& type) { return world().objectsOfType(type).getCount(); }
    static bool inWorld(bw::Object* object) { return world().getAllObjects().contains(object); }
    /// A stand-in of the given type, so a test can see whether a transition deletes it.
    static void standIn(const std::string& type) { (new RecordingObject(type))->setType(type); }
    /// Draws object, which must return result, and tells whether that wrote to the log.
    static bool drewSomething(bw::Object& object, int result) {
        const std::size_t mark = readLogLines().size();
        EXPECT_EQ(object.draw(), result);
        return readLogLines().size() > mark;
    }

    /// Only the music with this label plays (where playback can be observed at all).
    void expectMusic(const std::string& label) {
        EXPECT_EQ(heard.musicPlaying(), std::vector<std::string>{label});
    }
    /// Web, counters, player and spawner as a game starts.
    void expectFreshGame() {
        EXPECT_EQ(start().getState(), PLAYING);
        EXPECT_EQ(countIntactStrings(), 58);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
        EXPECT_EQ(SilkCounter::getInstance().getCharge(), 0);
        EXPECT_TRUE(Web::getInstance().isVisible() && ScoreCounter::getInstance().isVisible() &&
                    SilkCounter::getInstance().isVisible());
        EXPECT_EQ(count("Player"), 1);
        EXPECT_EQ(count("Spawner"), 1);
        expectMusic("theme-song");
    }

    TempWorkDir dir;
    HeardAudio heard;
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
};

TEST_F(GameFlowTest, OnlyPressesOfWOutsidePlayChangeTheScreen) {
    GameStart& screen = start();
    expectMusic("title-song");

    for (const auto& [key, action] : {std::pair{bw::KEY_W, bw::KEY_HELD}, {bw::KEY_W, bw::KEY_RELEASED},
                                      {bw::KEY_A, bw::KEY_PRESSED}, {bw::KEY_ENTER, bw::KEY_PRESSED}})
        EXPECT_EQ(press(key, action), 1);
    EXPECT_EQ(screen.getState(), TITLE);
    EXPECT_EQ(count("Player") + count("Spawner"), 0);

    press(bw::KEY_W);
    expectFreshGame();
    const int objects = world().getAllObjects().getCount();
    press(bw::KEY_W);
    press(bw::KEY_ESCAPE);
    EXPECT_EQ(screen.getState(), PLAYING);
    EXPECT_EQ(world().getAllObjects().getCount(), objects);

    screen.gameOver();
    press(bw::KEY_W, bw::KEY_HELD);
    press(bw::KEY_W, bw::KEY_RELEASED);
    EXPECT_EQ(screen.getState(), GAME_OVER);
}

TEST_F(GameFlowTest, GameOverDropsSixSaucersAndDeletesOnlyThePlayerAndTheSpawner) {
    press(bw::KEY_W);
    for (const char* type : {"GiantEnemySpider", "Fly", "SilkShot", "PopUp"})
        standIn(type);
    std::srand(2024);
    const std::size_t mark = readLogLines().size();
    start().gameOver();

    EXPECT_EQ(start().getState(), GAME_OVER);
    ASSERT_EQ(count("Saucer"), Web::INTERIOR_COLUMNS);
    // Each saucer's row and speed come from rand(), in this order: row, speed, row, speed, ...
    std::srand(2024);
    std::vector<std::string> expected, logged;
    int column = 0;
    for (bw::Object* saucer : world().objectsOfType("Saucer")) {
        const int row = std::rand() % Web::INTERIOR_ROWS + 1, speed = std::rand() % 6;
        ++column;
        EXPECT_EQ(static_cast<Saucer*>(saucer)->getTarget(), Vector(column, row)) << "saucer " << column;
        EXPECT_EQ(saucer->getVelocity(), Vector(0, speed)) << "saucer " << column;
        expected.push_back("spawned saucer: " + std::to_string(column) + " " + std::to_string(row));
    }
    const std::vector<std::string> lines = readLogLines();
    std::copy_if(lines.begin() + static_cast<long>(mark), lines.end(), std::back_inserter(logged),
                 [](const std::string& line) { return line.starts_with("spawned saucer: "); });
    EXPECT_EQ(logged, expected);

    EXPECT_EQ(count("Player"), 1); // deletions take effect at the next update
    world().update();
    EXPECT_EQ(count("Player") + count("Spawner"), 0);
    for (const char* type : {"GiantEnemySpider", "Fly", "SilkShot", "PopUp"})
        EXPECT_EQ(count(type), 1) << type;
    EXPECT_EQ(count("Saucer"), Web::INTERIOR_COLUMNS);
    EXPECT_TRUE(Web::getInstance().isVisible() && ScoreCounter::getInstance().isVisible() &&
                SilkCounter::getInstance().isVisible());
    expectMusic("theme-song");
}

TEST_F(GameFlowTest, WOnTheGameOverScreenClearsThePlayAndTheNextGameStartsAfresh) {
    press(bw::KEY_W);
    ScoreCounter::getInstance().addPoints(250, Vector(10, 10), bw::COLOR_WHITE, false);
    for (int i = 0; i < 3; ++i)
        SilkCounter::getInstance().addCharge();
    Web::getInstance().severConnection(Vector(3, 2), Vector(4, 2));
    for (int i = 0; i < 20; ++i) {
        if (i == 10) start().gameOver();
        stepWorld(i);
    }
    for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "SilkShot"})
        standIn(type);
    press(bw::KEY_W);

    EXPECT_EQ(start().getState(), TITLE);
    EXPECT_FALSE(Web::getInstance().isVisible() || ScoreCounter::getInstance().isVisible() ||
                 SilkCounter::getInstance().isVisible());
    expectMusic("title-song");
    world().update();
    for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer"})
        EXPECT_EQ(count(type), 0) << type;
    // Silk shots and pop-ups (here the award's) finish their flight on their own.
    EXPECT_EQ(count("SilkShot") + count("PopUp"), 2);
    // Score and charge stay until the next game starts; the steps count in every state.
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 250);
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 3);
    EXPECT_EQ(start().getStepCount(), 20);

    press(bw::KEY_W);
    expectFreshGame();
}

TEST_F(GameFlowTest, OnlyAnEscapePressOutsidePlayEndsTheLoopAndTheStateStays) {
    const WindowDisplayOverride no_display("");
    bw::GameManager& game = bw::GameManager::getInstance();
    game.startUp(); // it starts the world afresh: the screen object comes after
    GameStart& screen = start();
    bw::KeyboardAction action = bw::KEY_PRESSED;
    int last = -1;
    (new RecordingObject("driver"))->on_event = [&](const bw::Event* event) {
        if (event->getType() != bw::EVENT_TYPE_STEP) return;
        last = static_cast<const bw::EventStep*>(event)->getStepCount();
        if (last == 2) press(bw::KEY_ESCAPE, action);
        if (last == 6) game.setGameOver();
    };
    struct Case { const char* what; bw::KeyboardAction action; GameState state; int last_step; };
    for (const Case& c : {Case{"released on the title", bw::KEY_RELEASED, TITLE, 6},
                          Case{"held on the title", bw::KEY_HELD, TITLE, 6},
                          Case{"pressed on the title", bw::KEY_PRESSED, TITLE, 2},
                          Case{"pressed during play", bw::KEY_PRESSED, PLAYING, 6},
                          Case{"pressed on the game-over screen", bw::KEY_PRESSED, GAME_OVER, 2}}) {
        SCOPED_TRACE(c.what);
        if (c.state == PLAYING) press(bw::KEY_W);
        if (c.state == GAME_OVER) screen.gameOver();
        action = c.action;
        game.run();
        EXPECT_EQ(last, c.last_step);
        EXPECT_EQ(screen.getState(), c.state);
    }
    game.shutDown();
}

TEST_F(GameFlowTest, PointsAddUpAndRaiseAPopUpThatIsSignedOnlyAtTheCounter) {
    struct Award { Vector at; int points; std::string text; Vector shown_at; };
    // Only both coordinates exactly -1 mean no position.
    const Award awards[] = {
        {NO_POSITION, 50, "+50", Vector(78, 22)}, {Vector(12.5f, 7.25f), 50, "50", Vector(12.5f, 7.25f)},
        {Vector(-1, 3), 200, "200", Vector(-1, 3)}, {Vector(3, -1), 300, "300", Vector(3, -1)},
        {Vector(-1, -1.5f), 2000000000, "2000000000", Vector(-1, -1.5f)}};
    PopUpWatcher watcher;
    for (const Award& award : awards) {
        SCOPED_TRACE(award.text);
        ScoreCounter::getInstance().addPoints(award.points, award.at, KILL_RED, false);
        const auto seen = watcher.newPopUps();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, award.text);
        EXPECT_EQ(seen[0].position, award.shown_at);
        EXPECT_EQ(seen[0].color, KILL_RED);
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 2000000600);
}

TEST_F(GameFlowTest, EveryAwardPlaysPointsGainedUnlessItChargedTheSilk) {
    for (const bool charged : {false, true}) {
        heard.take();
        ScoreCounter::getInstance().addPoints(50, Vector(10, 10), KILL_RED, charged);
        EXPECT_EQ(heard.take(), std::vector<std::string>{charged ? "sound silk-charged" : "sound points-gained"});
    }
}

TEST_F(GameFlowTest, ChargeStaysWithinTheCounterSpritesFramesAndHiddenCountersDrawNothing) {
    replaceSprite("silk-counter-spr", 7, 1);
    SilkCounter& silk = SilkCounter::getInstance();
    for (int i = 1; i <= 8; ++i) {
        silk.addCharge();
        EXPECT_EQ(silk.getCharge(), std::min(i, 6));
        EXPECT_EQ(silk.isCharged(), i >= 3) << i;
    }
    silk.useCharge();
    EXPECT_EQ(silk.getCharge(), 3);
    silk.useCharge();
    silk.addCharge();
    silk.addCharge();
    silk.useCharge();
    EXPECT_EQ(silk.getCharge(), 0);

    // Shown, both counters draw (without a window the attempt is logged, then fails); hidden,
    // neither does, and both values stay.
    ScoreCounter& score = ScoreCounter::getInstance();
    EXPECT_TRUE(drewSomething(score, -1));
    EXPECT_TRUE(drewSomething(silk, -1));
    score.hide();
    silk.hide();
    EXPECT_FALSE(drewSomething(score, 0));
    EXPECT_FALSE(drewSomething(silk, 0));
    score.addPoints(50, Vector(10, 10), KILL_RED, false);
    silk.addCharge();
    EXPECT_EQ(score.getScore(), 50);
    EXPECT_EQ(silk.getCharge(), 1);

    // Without its sprite the silk counter neither charges nor crashes.
    world().shutDown();
    resources.unloadSprite("silk-counter-spr");
    world().startUp();
    SilkCounter& bare = SilkCounter::getInstance();
    EXPECT_TRUE(logHasLineStartingWith("WARNING: no sprite labelled \"silk-counter-spr\""));
    bare.addCharge();
    EXPECT_EQ(bare.getCharge(), 0);
    EXPECT_EQ(bare.draw(), -1);
}

TEST_F(GameFlowTest, PopUpRisesForTwentyTwoStepsThenFallsStraightBackFasterAndFaster) {
    PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    std::vector<float> ys{12.0f};
    for (int i = 1; i <= 55; ++i) {
        stepWorld(i);
        ASSERT_TRUE(inWorld(popup)) << "step " << i;
        ASSERT_EQ(popup->getPosition().getX(), 40.0f) << "step " << i;
        ys.push_back(popup->getPosition().getY());
    }
    EXPECT_EQ(std::min_element(ys.begin(), ys.end()) - ys.begin(), 22);
    EXPECT_NEAR(ys[22], 10.346f, 0.001f);
    EXPECT_LT(ys[47], 12.0f);
    EXPECT_GE(ys[48], 12.0f);
    EXPECT_LT(ys[54], 16.0f);
    EXPECT_GE(ys[55], 16.0f);
}

TEST_F(GameFlowTest, PopUpIsDeletedTheFirstStepAfterWhichItLiesOutsideTheWindow) {
    PopUp* falling = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    int steps = 0;
    while (inWorld(falling) && steps < 200) {
        const bw::EventStep event(++steps);
        falling->eventHandler(&event);
        const bool out = falling->getPosition().getY() > 24.0f;
        world().update();
        ASSERT_EQ(inWorld(falling), !out) << "after step " << steps;
    }
    EXPECT_GT(steps, 55);
    EXPECT_EQ(count("PopUp"), 0);

    // Beside the window, rising out through the top, and exactly on the edges (still inside).
    for (const auto& [at, inside] : {std::pair{Vector(80.5f, 12), false}, {Vector(-0.5f, 12), false},
                                     {Vector(40, 0.2f), false}, {Vector(80, 12), true},
                                     {Vector(40, 24.0f + 0.33333334f), true}}) {
        PopUp* popup = new PopUp(at, "50", bw::COLOR_WHITE);
        stepWorld(1);
        EXPECT_EQ(inWorld(popup), inside) << at.getX() << ", " << at.getY();
        if (inWorld(popup)) delete popup;
    }
}

} // namespace
