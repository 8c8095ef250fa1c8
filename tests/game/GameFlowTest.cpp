// The game flow without a window: what W and Escape do in each state, the six saucers of game
// over, what each transition deletes, hides and resets, the music that follows the state; the
// score counter's points, sounds and pop-ups, the silk counter's charge, and the pop-up's
// flight. What the screens show is read from the window in FlowScreenWindowTest.
#include "EventOut.h"
#include "EventStep.h"
#include "GameManager.h"
#include "GameStart.h"
#include "PopUp.h"
#include "ResourceManager.h"
#include "Saucer.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "WebObject.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "WebPlayTestSupport.h"
#include "WindowDisplayOverride.h"

#include <algorithm>
#include <cstdlib>

using bw::Vector;
using Heard = std::vector<std::string>;

namespace {

class GameFlowTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites();
    }
    static GameStart& start() { return GameStart::getInstance(); }
    static int press(bw::Key key, bw::KeyboardAction how = bw::KEY_PRESSED) { return sendKey(&start(), key, how); }
    static bw::WorldManager& world() { return bw::WorldManager::getInstance(); }
    /// Stand-ins of these types, so a test can see whether a transition deletes them.
    static void standIns(std::initializer_list<const char*> types) {
        for (const char* type : types) (new RecordingObject(type))->setType(type);
    }
    /// How many of web, score and silk counter are shown.
    static int shown() {
        return Web::getInstance().isVisible() + ScoreCounter::getInstance().isVisible() +
               SilkCounter::getInstance().isVisible();
    }
    /// Web, counters, player and spawner as a game starts.
    void expectFreshGame() {
        EXPECT_EQ(std::tuple(start().getState(), webStrings().size(), shown(), heard.musicPlaying()),
                  std::tuple(PLAYING, 58u, 3, Heard{"theme-song"}));
        EXPECT_EQ(ScoreCounter::getInstance().getScore() + SilkCounter::getInstance().getCharge(), 0);
        EXPECT_EQ(countOf("Player") * 10 + countOf("Spawner"), 11);
    }
};

TEST_F(GameFlowTest, OnlyPressesOfWAndEscapeChangeTheStateOrEndTheLoopAndEscapeNotDuringPlay) {
    const WindowDisplayOverride no_display("");
    bw::GameManager& game = bw::GameManager::getInstance();
    game.startUp();
    // Each state and where a press of W takes it; a press of Escape ends the loop outside play.
    for (const auto& [state, after_w] : {std::pair{TITLE, PLAYING}, {PLAYING, PLAYING}, {GAME_OVER, TITLE}})
        for (const bw::Key key : {bw::KEY_W, bw::KEY_ESCAPE, bw::KEY_A})
            for (const bw::KeyboardAction action : {bw::KEY_PRESSED, bw::KEY_HELD, bw::KEY_RELEASED}) {
                SCOPED_TRACE(testing::Message() << "state " << state << " key " << key << " " << action);
                restartWorld();
                if (state != TITLE) press(bw::KEY_W);
                if (state == GAME_OVER) start().gameOver();
                bool running = false;
                (new RecordingObject("driver"))->on_event = [&](const bw::Event* event) {
                    if (event->getType() != bw::EVENT_TYPE_STEP) return;
                    EXPECT_EQ(press(key, action), 1);
                    running = game.isRunning();
                    game.setGameOver();
                };
                game.run();
                const bool pressed = action == bw::KEY_PRESSED;
                const GameState after = pressed && key == bw::KEY_W ? after_w : state;
                EXPECT_EQ(std::tuple(start().getState(), running, countOf("Player"), heard.musicPlaying().back()),
                          std::tuple(after, !(pressed && key == bw::KEY_ESCAPE && state != PLAYING), after == PLAYING,
                                     after == TITLE ? "title-song" : "theme-song")); // one game at a time
            }
    const bw::EventOut out;
    EXPECT_EQ(start().eventHandler(&out), 0) << "neither a step nor a key";
    game.shutDown();
}

TEST_F(GameFlowTest, GameOverDropsASaucerOnEachInteriorColumnAndDeletesOnlyThePlayerAndTheSpawner) {
    press(bw::KEY_W);
    standIns({"GiantEnemySpider", "Fly", "SilkShot", "PopUp"});
    heard.take();
    std::srand(2024);
    // Rows and speeds are drawn: over many game overs rows 1 to 4 and speeds 0 to 5 all turn up.
    std::set<float> rows, speeds;
    for (int round = 0; round < 40; ++round) {
        for (bw::Object* saucer : world().objectsOfType("Saucer")) delete saucer;
        start().gameOver();
        const bw::ObjectList saucers = world().objectsOfType("Saucer");
        ASSERT_EQ(saucers.getCount(), Web::INTERIOR_COLUMNS);
        for (int i = 0; i < saucers.getCount(); ++i) {
            const Vector target = static_cast<Saucer*>(saucers[i])->getTarget();
            EXPECT_EQ(std::pair(target.getX(), saucers[i]->getVelocity().getX()), std::pair(i + 1.0f, 0.0f));
            rows.insert(target.getY());
            speeds.insert(saucers[i]->getVelocity().getY());
        }
    }
    EXPECT_EQ(rows, (std::set<float>{1, 2, 3, 4}));
    EXPECT_EQ(speeds, (std::set<float>{0, 1, 2, 3, 4, 5}));
    // Each saucer sounds as it spawns, and the screen sounds it again.
    EXPECT_EQ(heard.take(), Heard(2 * 40 * Web::INTERIOR_COLUMNS, "sound saucer-spawn"));
    EXPECT_EQ(std::tuple(start().getState(), shown(), heard.musicPlaying()),
              std::tuple(GAME_OVER, 3, Heard{"theme-song"}));
    EXPECT_EQ(countOf("Player"), 1); // deletions take effect at the next update
    world().update();
    EXPECT_EQ(countOf("Player") + countOf("Spawner"), 0);
    for (const char* type : {"GiantEnemySpider", "Fly", "SilkShot", "PopUp"}) EXPECT_EQ(countOf(type), 1) << type;
}

TEST_F(GameFlowTest, WOnTheGameOverScreenClearsThePlayAndTheNextGameStartsAfresh) {
    press(bw::KEY_W);
    expectFreshGame();
    ScoreCounter::getInstance().addPoints(250, Vector(10, 10), bw::COLOR_WHITE, false);
    for (int i = 0; i < 3; ++i) SilkCounter::getInstance().addCharge();
    Web::getInstance().severConnection(Vector(3, 2), Vector(4, 2));
    for (int i = 0; i < 20; ++i) {
        if (i == 10) start().gameOver();
        stepWorld(i);
    }
    standIns({"Player", "Spawner", "GiantEnemySpider", "Fly", "SilkShot"});
    press(bw::KEY_W);
    EXPECT_EQ(std::tuple(start().getState(), shown(), heard.musicPlaying()), std::tuple(TITLE, 0, Heard{"title-song"}));
    world().update();
    for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer"}) EXPECT_EQ(countOf(type), 0);
    // Silk shots and pop-ups (here the award's) finish their flight on their own.
    EXPECT_EQ(countOf("SilkShot") + countOf("PopUp"), 2);
    // Score and charge stay until the next game starts; the steps count in every state.
    const int score = ScoreCounter::getInstance().getScore(), charge = SilkCounter::getInstance().getCharge();
    EXPECT_EQ(std::tuple(score, charge, start().getStepCount()), std::tuple(250, 3, 20));
    press(bw::KEY_W);
    expectFreshGame();
}

TEST_F(GameFlowTest, PointsAddUpAndRaiseAPopUpSignedOnlyAtTheCounterWithTheSoundOfTheCharge) {
    const bw::Color red(242, 66, 54, 1.0f);
    struct Award { Vector at; int points; bool charged; std::string text; Vector shown_at; };
    // Only both coordinates exactly -1 mean no position.
    for (const Award& award :
         {Award{NO_POSITION, 50, false, "+50", Vector(78, 22)}, {{12.5f, 7.25f}, 50, true, "50", {12.5f, 7.25f}},
          {{-1, 3}, 200, false, "200", {-1, 3}}, {{3, -1}, 300, true, "300", {3, -1}},
          {{-1, -1.5f}, 2000000000, false, "2000000000", {-1, -1.5f}}}) {
        heard.take();
        ScoreCounter::getInstance().addPoints(award.points, award.at, red, award.charged);
        EXPECT_EQ(heard.take(), Heard{award.charged ? "sound silk-charged" : "sound points-gained"});
        EXPECT_EQ(takePopUps(), (std::vector<PopUpSighting>{{award.text, award.shown_at, red}}));
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 2000000600);
}

TEST_F(GameFlowTest, ChargeStaysWithinTheCounterSpritesFramesAndHiddenCountersDrawNothing) {
    loadTestSprite("silk-counter-spr", std::vector(7, 1));
    SilkCounter& silk = SilkCounter::getInstance();
    for (int i = 1; i <= 8; ++i) {
        silk.addCharge();
        EXPECT_EQ(silk.getCharge() * 10 + silk.isCharged(), std::min(i, 6) * 10 + (i >= 3)) << i;
    }
    // 6 - 3 = 3, 3 - 3 = 0, then two charges are used up entirely.
    for (const int add : {0, 0, 2})
        for (int i = 0; i <= add; ++i) i < add ? silk.addCharge() : silk.useCharge();
    EXPECT_EQ(silk.getCharge(), 0);
    // Shown, both counters draw (without a window the attempt is logged, then fails); hidden,
    // neither does.
    ScoreCounter& score = ScoreCounter::getInstance();
    const std::size_t before = readLogLines().size();
    EXPECT_EQ(score.draw() + silk.draw(), -2);
    const std::size_t drawn = readLogLines().size();
    score.hide();
    silk.hide();
    EXPECT_EQ(score.draw() + silk.draw(), 0);
    EXPECT_TRUE(drawn > before && readLogLines().size() == drawn);
    // Without its sprite the silk counter neither charges nor crashes.
    world().shutDown();
    bw::ResourceManager::getInstance().unloadSprite("silk-counter-spr");
    world().startUp();
    SilkCounter& bare = SilkCounter::getInstance(); // made here, without its sprite
    EXPECT_TRUE(logHasLineStartingWith("WARNING: no sprite labelled \"silk-counter-spr\""));
    bare.addCharge();
    EXPECT_EQ(bare.getCharge() * 10 + bare.draw(), -1);
}

TEST_F(GameFlowTest, PopUpRisesTwentyTwoStepsThenFallsFasterAndFasterAndGoesTheStepItLeavesTheWindow) {
    PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    std::vector<float> ys{12.0f};
    for (bool inside = true; inside;) {
        ASSERT_LT(ys.size(), 200u);
        broadcastStep(static_cast<int>(ys.size()));
        ASSERT_EQ(popup->getPosition().getX(), 40.0f);
        ys.push_back(popup->getPosition().getY());
        inside = ys.back() <= 24.0f;
        world().update();
        ASSERT_EQ(countOf("PopUp"), inside ? 1 : 0) << "after step " << ys.size() - 1;
    }
    EXPECT_EQ(std::min_element(ys.begin(), ys.end()) - ys.begin(), 22);
    EXPECT_NEAR(ys[22], 10.346f, 0.001f);
    EXPECT_TRUE(ys[47] < 12.0f && ys[48] >= 12.0f && ys[54] < 16.0f && ys[55] >= 16.0f);
}

} // namespace
