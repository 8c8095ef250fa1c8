// The screens: the title screen and its blinking prompt, W starting a game and returning from
// the game-over screen, Escape ending the program outside play, the six saucers of game over,
// what each transition deletes, and the music that follows the state. No window: what is drawn
// is read from the display manager's log lines.
#include "GameStart.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Music.h"
#include "Player.h"
#include "ResourceManager.h"
#include "Saucer.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "Spawner.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"
#include "WindowDisplayOverride.h"

#include <SFML/Audio/SoundSource.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const std::string DRAW_CALLED = "draw string has been called";
const std::string START_PROMPT = "< W to Start >";
const std::string BLANK_PROMPT = "<            >";
const std::string MENU_PROMPT = "< W to return to menu >";

/// A short tune loaded as both pieces of music, kept for the whole test program.
void loadTunes() {
    static const std::filesystem::path tune =
        std::filesystem::temp_directory_path() /
        ("tarnwick-game-start-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".wav");
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    if (resources.getMusic("title-song")) return;
    writeToneWav(tune, 80000);
    resources.loadMusic(tune.string(), "title-song");
    resources.loadMusic(tune.string(), "theme-song");
}

bool musicPlaying(const std::string& label) {
    const bw::Music* music = bw::ResourceManager::getInstance().getMusic(label);
    return music && music->getMusic().getStatus() == sf::SoundSource::Status::Playing;
}

class GameStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        bw::LogManager::getInstance().shutDown();
        bw::LogManager::getInstance().startUp();
        bw::LogManager::getInstance().setLogLevel(-1);
        world().shutDown();
        world().startUp();
        loadWebPlaySprites();
        bw::ResourceManager& resources = bw::ResourceManager::getInstance();
        const std::string sprites = std::string(TARNWICK_SOURCE_DIR) + "/data/Sprites/";
        if (!resources.getSprite("title-text"))
            resources.loadSprite(sprites + "title-text.txt", "title-text");
        if (!resources.getSprite("game-over-text"))
            resources.loadSprite(sprites + "game-over-text.txt", "game-over-text");
        if (!resources.getSprite("saucer")) resources.loadSprite(sprites + "saucer!.txt", "saucer");
        loadTunes();
    }
    void TearDown() override {
        world().shutDown();
        bw::LogManager::getInstance().setLogLevel(-1);
    }

    static int press(bw::Key key, bw::KeyboardAction action = bw::KEY_PRESSED) {
        return sendKey(&GameStart::getInstance(), key, action);
    }
    static void steps(int count) {
        const bw::EventStep step(0);
        for (int i = 0; i < count; ++i)
            GameStart::getInstance().eventHandler(&step);
    }
    static int count(const std::string& type) { return world().objectsOfType(type).getCount(); }
    static bw::WorldManager& world() { return bw::WorldManager::getInstance(); }

    /// A stand-in of the given type, so a test can see whether a transition deletes it.
    static RecordingObject* standIn(const std::string& type) {
        auto* object = new RecordingObject(type);
        object->setType(type);
        return object;
    }

    /// The strings drawString was asked to draw since the log mark, in order.
    std::vector<std::string> drawnStrings() const {
        const auto lines = readLogLines();
        std::vector<std::string> strings;
        for (std::size_t i = mark; i + 1 < lines.size(); ++i)
            if (lines[i] == DRAW_CALLED) strings.push_back(lines[i + 1]);
        return strings;
    }
    void markLog() { mark = readLogLines().size(); }

    /// The strings drawn by one draw() of the GameStart.
    std::vector<std::string> drawOnce() {
        markLog();
        EXPECT_EQ(GameStart::getInstance().draw(), 1);
        return drawnStrings();
    }

    /// The GameStart's prompt as drawn at the current step count.
    std::string prompt() {
        const auto strings = drawOnce();
        return strings.size() >= 5 ? strings[strings.size() - 5] : "";
    }

    TempWorkDir dir;
    std::size_t mark = 0;
};

TEST_F(GameStartTest, FirstUseShowsTheTitleAboveTheCentreAndPlaysTheTitleSong) {
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(&GameStart::getInstance(), &start);
    EXPECT_TRUE(world().getAllObjects().contains(&start));
    EXPECT_EQ(start.getState(), TITLE);
    EXPECT_EQ(start.getStepCount(), 0);
    EXPECT_EQ(start.getPosition(), Vector(42, 8));
    EXPECT_EQ(start.getAltitude(), 4);
    EXPECT_EQ(start.getType(), "undefined_object");
    EXPECT_EQ(start.getSolidness(), bw::BLOCKING);
    ASSERT_NE(start.getSprite(), nullptr);
    EXPECT_EQ(start.getSprite()->getLabel(), "title-text");
    EXPECT_EQ(start.getBox().getHorizontal(), static_cast<float>(start.getSprite()->getWidth()));
    EXPECT_EQ(start.getBox().getVertical(), static_cast<float>(start.getSprite()->getHeight()));
    if (cuesObservable()) {
        EXPECT_TRUE(musicPlaying("title-song"));
        EXPECT_FALSE(musicPlaying("theme-song"));
    }
    // Nothing of the game exists on the title screen.
    EXPECT_EQ(count("Player"), 0);
    EXPECT_EQ(count("Spawner"), 0);
}

TEST_F(GameStartTest, CountsEveryStepInEveryState) {
    GameStart& start = GameStart::getInstance();
    const bw::EventStep step(1000);
    EXPECT_EQ(start.eventHandler(&step), 1);
    steps(4);
    press(bw::KEY_W);
    steps(5);
    start.gameOver();
    steps(5);
    press(bw::KEY_W);
    steps(5);
    EXPECT_EQ(start.getStepCount(), 20);
}

TEST_F(GameStartTest, AnswersStepAndKeyboardEventsOnly) {
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(press(bw::KEY_A), 1);
    EXPECT_EQ(press(bw::KEY_W, bw::KEY_RELEASED), 1);
    const bw::EventMouse mouse(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, Vector(10, 10));
    const bw::EventOut out;
    const bw::EventCollision collision(&start, &start, Vector());
    EXPECT_EQ(start.eventHandler(&mouse), 0);
    EXPECT_EQ(start.eventHandler(&out), 0);
    EXPECT_EQ(start.eventHandler(&collision), 0);
}

TEST_F(GameStartTest, TitleShowsSpriteControlsPromptAndInstructions) {
    GameStart::getInstance();
    const auto strings = drawOnce();
    ASSERT_GE(strings.size(), 7u);
    const std::vector<std::string> texts(strings.end() - 7, strings.end());
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "WASD - move.", "ESC - exit.", START_PROMPT, "Eat flies to charge silk shot.",
                         "Bounce off screen edge to fire silk shot.",
                         "Silk shot repairs broken strings and kills enemies.", "Don't fall off the web!"}));
    // The title sprite comes first, through the object's own drawing.
    EXPECT_GT(strings.size(), 7u);
}

TEST_F(GameStartTest, TitleSpriteAnimatesLikeAnyObject) {
    GameStart& start = GameStart::getInstance();
    ASSERT_NE(start.getSprite(), nullptr);
    const int frames = start.getSprite()->getFrameCount();
    if (frames < 2) GTEST_SKIP() << "the title sprite has a single frame";
    const int slowdown = start.getSprite()->getFrame(0).getSlowdown();
    for (int i = 0; i < slowdown; ++i)
        start.draw();
    EXPECT_EQ(start.getFrameIndex(), 1);
}

TEST_F(GameStartTest, PromptShowsForEighteenStepsThenBlanksForEighteen) {
    GameStart::getInstance();
    EXPECT_EQ(prompt(), START_PROMPT) << "step 0";
    steps(17);
    EXPECT_EQ(prompt(), START_PROMPT) << "step 17";
    steps(1);
    EXPECT_EQ(prompt(), BLANK_PROMPT) << "step 18";
    steps(17);
    EXPECT_EQ(prompt(), BLANK_PROMPT) << "step 35";
    steps(1);
    EXPECT_EQ(prompt(), START_PROMPT) << "step 36";
    steps(18);
    EXPECT_EQ(prompt(), BLANK_PROMPT) << "step 54";
}

TEST_F(GameStartTest, WOnTheTitleStartsAGame) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    EXPECT_EQ(start.getState(), PLAYING);
    EXPECT_TRUE(Web::getInstance().isVisible());
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
    EXPECT_TRUE(ScoreCounter::getInstance().isVisible());
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 0);
    EXPECT_TRUE(SilkCounter::getInstance().isVisible());
    EXPECT_EQ(count("Player"), 1);
    EXPECT_EQ(count("Spawner"), 1);
    if (cuesObservable()) {
        EXPECT_FALSE(musicPlaying("title-song"));
        EXPECT_TRUE(musicPlaying("theme-song"));
    }
}

TEST_F(GameStartTest, ThePlayerAndSpawnerAreCreatedAfterTheWebAndCounters) {
    press(bw::KEY_W);
    const bw::ObjectList objects = world().getAllObjects();
    std::vector<std::string> order;
    for (bw::Object* object : objects) {
        if (object == &Web::getInstance())
            order.push_back("Web");
        else if (object == &ScoreCounter::getInstance())
            order.push_back("ScoreCounter");
        else if (object->getType() != "undefined_object")
            order.push_back(object->getType());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Web", "ScoreCounter", "SilkCounter", "Player", "Spawner"}));
}

TEST_F(GameStartTest, WDuringPlayChangesNothing) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    const int objects = world().getAllObjects().getCount();
    press(bw::KEY_W);
    EXPECT_EQ(start.getState(), PLAYING);
    EXPECT_EQ(world().getAllObjects().getCount(), objects);
    EXPECT_EQ(count("Player"), 1);
}

TEST_F(GameStartTest, OnlyKeyPressesCount) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W, bw::KEY_HELD);
    press(bw::KEY_W, bw::KEY_RELEASED);
    EXPECT_EQ(start.getState(), TITLE);
    press(bw::KEY_A);
    press(bw::KEY_SPACE);
    press(bw::KEY_ENTER);
    EXPECT_EQ(start.getState(), TITLE);
    EXPECT_EQ(count("Player"), 0);

    press(bw::KEY_W);
    start.gameOver();
    press(bw::KEY_W, bw::KEY_HELD);
    press(bw::KEY_W, bw::KEY_RELEASED);
    EXPECT_EQ(start.getState(), GAME_OVER);
}

TEST_F(GameStartTest, GameOverDropsSixSaucersOntoColumnsOneToSixInOrder) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    bw::LogManager::getInstance().setLogLevel(0);

    // The rows and speeds come from rand() in this order: row, speed, row, speed, ...
    std::srand(2024);
    std::vector<int> rows, speeds;
    for (int i = 0; i < 6; ++i) {
        rows.push_back(std::rand() % 4 + 1);
        speeds.push_back(std::rand() % 6);
    }
    std::srand(2024);
    markLog();
    start.gameOver();

    EXPECT_EQ(start.getState(), GAME_OVER);
    const bw::ObjectList saucers = world().objectsOfType("Saucer");
    ASSERT_EQ(saucers.getCount(), 6);
    int column = 1;
    for (bw::Object* object : saucers) {
        const auto* saucer = static_cast<const Saucer*>(object);
        const auto i = static_cast<std::size_t>(column - 1);
        EXPECT_EQ(saucer->getTarget(), Vector(static_cast<float>(column), static_cast<float>(rows[i])));
        EXPECT_EQ(saucer->getVelocity(), Vector(0, static_cast<float>(speeds[i]))) << "saucer " << column;
        ++column;
    }
    std::vector<std::string> expected;
    for (int i = 1; i <= 6; ++i)
        expected.push_back("spawned saucer: " + std::to_string(i) + " " +
                           std::to_string(rows[static_cast<std::size_t>(i - 1)]));
    std::vector<std::string> logged;
    const auto lines = readLogLines();
    for (std::size_t i = mark; i < lines.size(); ++i)
        if (lines[i].rfind("spawned saucer: ", 0) == 0) logged.push_back(lines[i]);
    EXPECT_EQ(logged, expected);
}

TEST_F(GameStartTest, SaucerRowsStayInsideTheWeb) {
    GameStart& start = GameStart::getInstance();
    for (unsigned seed = 1; seed <= 5; ++seed) {
        press(bw::KEY_W);
        std::srand(seed);
        start.gameOver();
        for (bw::Object* object : world().objectsOfType("Saucer")) {
            const auto* saucer = static_cast<const Saucer*>(object);
            EXPECT_GE(saucer->getTarget().getY(), 1.0f);
            EXPECT_LE(saucer->getTarget().getY(), 4.0f);
            EXPECT_GE(saucer->getVelocity().getY(), 0.0f);
            EXPECT_LE(saucer->getVelocity().getY(), 5.0f);
        }
        press(bw::KEY_W);
        world().update();
    }
}

TEST_F(GameStartTest, GameOverDeletesOnlyThePlayerAndTheSpawner) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    for (const char* type : {"GiantEnemySpider", "Fly", "Saucer", "SilkShot", "PopUp"})
        standIn(type);
    start.gameOver();
    // The deletions take effect at the next update; until then everything is still there.
    EXPECT_EQ(count("Player"), 1);
    world().update();
    EXPECT_EQ(count("Player"), 0);
    EXPECT_EQ(count("Spawner"), 0);
    for (const char* type : {"GiantEnemySpider", "Fly", "SilkShot", "PopUp"})
        EXPECT_EQ(count(type), 1) << type;
    EXPECT_EQ(count("Saucer"), 7);
    EXPECT_TRUE(Web::getInstance().isVisible());
    EXPECT_TRUE(ScoreCounter::getInstance().isVisible());
    EXPECT_TRUE(SilkCounter::getInstance().isVisible());
    if (cuesObservable()) {
        EXPECT_TRUE(musicPlaying("theme-song"));
    }
}

TEST_F(GameStartTest, GameOverScreenShowsItsPromptWithoutBlinking) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    start.gameOver();
    auto strings = drawOnce();
    ASSERT_FALSE(strings.empty());
    EXPECT_EQ(strings.back(), MENU_PROMPT);
    steps(18);
    strings = drawOnce();
    ASSERT_FALSE(strings.empty());
    EXPECT_EQ(strings.back(), MENU_PROMPT);
    for (const std::string& text : strings)
        EXPECT_NE(text, "WASD - move.");
}

TEST_F(GameStartTest, DuringPlayItDrawsNothing) {
    press(bw::KEY_W);
    EXPECT_TRUE(drawOnce().empty());
    // Not even the title sprite's animation moves on.
    const int frame = GameStart::getInstance().getFrameIndex();
    for (int i = 0; i < 20; ++i)
        GameStart::getInstance().draw();
    EXPECT_EQ(GameStart::getInstance().getFrameIndex(), frame);
}

TEST_F(GameStartTest, WOnTheGameOverScreenReturnsToTheTitle) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    start.gameOver();
    world().update();
    for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "SilkShot", "PopUp"})
        standIn(type);
    press(bw::KEY_W);

    EXPECT_EQ(start.getState(), TITLE);
    EXPECT_FALSE(Web::getInstance().isVisible());
    EXPECT_FALSE(ScoreCounter::getInstance().isVisible());
    EXPECT_FALSE(SilkCounter::getInstance().isVisible());
    if (cuesObservable()) {
        EXPECT_TRUE(musicPlaying("title-song"));
        EXPECT_FALSE(musicPlaying("theme-song"));
    }
    world().update();
    for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer"})
        EXPECT_EQ(count(type), 0) << type;
    // Silk shots and pop-ups finish their flight on their own.
    EXPECT_EQ(count("SilkShot"), 1);
    EXPECT_EQ(count("PopUp"), 1);
    // The title is drawn again.
    const auto strings = drawOnce();
    ASSERT_GE(strings.size(), 7u);
    EXPECT_EQ(strings.back(), "Don't fall off the web!");
}

TEST_F(GameStartTest, HiddenWebAndCountersAreNotDrawnOnTheTitle) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    ScoreCounter::getInstance().addPoints(250, Vector(10, 10), bw::COLOR_WHITE, false);
    start.gameOver();
    press(bw::KEY_W);
    markLog();
    EXPECT_EQ(ScoreCounter::getInstance().draw(), 0);
    EXPECT_EQ(SilkCounter::getInstance().draw(), 0);
    EXPECT_EQ(Web::getInstance().draw(), 0);
    EXPECT_TRUE(drawnStrings().empty());
    // The score survives until the next game starts.
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 250);
}

TEST_F(GameStartTest, ASecondGameStartsWithACompleteWebAndEmptyCounters) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    // Let the first game's spawner run down its timers a little.
    for (int i = 0; i < 10; ++i)
        stepWorld(i);
    ScoreCounter::getInstance().addPoints(550, Vector(10, 10), bw::COLOR_WHITE, false);
    for (int i = 0; i < 4; ++i)
        SilkCounter::getInstance().addCharge();
    Web::getInstance().severConnection(Vector(3, 2), Vector(4, 2));
    Web::getInstance().severConnection(Vector(1, 1), Vector(1, 2));
    start.gameOver();
    world().update();
    press(bw::KEY_W);
    world().update();

    press(bw::KEY_W);
    EXPECT_EQ(start.getState(), PLAYING);
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_TRUE(Web::getInstance().isVisible());
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
    EXPECT_TRUE(ScoreCounter::getInstance().isVisible());
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 0);
    EXPECT_TRUE(SilkCounter::getInstance().isVisible());
    EXPECT_EQ(count("Player"), 1);
    EXPECT_EQ(count("Spawner"), 1);
    const bw::ObjectList spawners = world().objectsOfType("Spawner");
    const auto* spawner = static_cast<const Spawner*>(*spawners.begin());
    EXPECT_EQ(spawner->getFlyCountdown(), 4.3f);
    EXPECT_EQ(spawner->getSpiderCountdown(), 11.0f);
    if (cuesObservable()) {
        EXPECT_TRUE(musicPlaying("theme-song"));
        EXPECT_FALSE(musicPlaying("title-song"));
    }
}

/// Runs the real game loop (without a window) with a driver object that presses a key for
/// the GameStart at a chosen step and ends the loop itself at a later one, if it still runs.
class GameStartLoopTest : public GameStartTest {
protected:
    void SetUp() override {
        GameStartTest::SetUp();
        // The managers come up first: starting the world forgets every object.
        bw::GameManager::getInstance().startUp();
        bw::LogManager::getInstance().setLogLevel(-1);
    }
    void TearDown() override {
        bw::GameManager::getInstance().shutDown();
        bw::LogManager::getInstance().startUp();
        GameStartTest::TearDown();
    }

    /// Runs the loop; at step press_at the key goes to the GameStart. Returns the last step
    /// count the loop delivered.
    int runPressingAt(int press_at, bw::Key key, int give_up_at = 40) {
        int last_step = -1;
        auto* driver = new RecordingObject("driver");
        driver->on_event = [&](const bw::Event* event) {
            if (event->getType() != bw::EVENT_TYPE_STEP) return;
            last_step = static_cast<const bw::EventStep*>(event)->getStepCount();
            if (last_step == press_at) press(key);
            if (last_step == give_up_at) bw::GameManager::getInstance().setGameOver();
        };
        bw::GameManager::getInstance().run();
        return last_step;
    }

    WindowDisplayOverride no_display{""};
};

TEST_F(GameStartLoopTest, EscapeOnTheTitleEndsTheLoopAndKeepsTheState) {
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(runPressingAt(3, bw::KEY_ESCAPE), 3);
    EXPECT_FALSE(bw::GameManager::getInstance().isRunning());
    EXPECT_EQ(start.getState(), TITLE);
}

TEST_F(GameStartLoopTest, EscapeOnTheGameOverScreenEndsTheLoopAndKeepsTheState) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    start.gameOver();
    EXPECT_EQ(runPressingAt(2, bw::KEY_ESCAPE), 2);
    EXPECT_EQ(start.getState(), GAME_OVER);
}

TEST_F(GameStartLoopTest, EscapeDuringPlayLeavesTheLoopRunning) {
    GameStart& start = GameStart::getInstance();
    press(bw::KEY_W);
    EXPECT_EQ(runPressingAt(2, bw::KEY_ESCAPE, 6), 6);
    EXPECT_EQ(start.getState(), PLAYING);
}

TEST_F(GameStartLoopTest, AReleasedEscapeDoesNotEndTheLoop) {
    auto* driver = new RecordingObject("driver");
    int last_step = -1;
    driver->on_event = [&](const bw::Event* event) {
        if (event->getType() != bw::EVENT_TYPE_STEP) return;
        last_step = static_cast<const bw::EventStep*>(event)->getStepCount();
        if (last_step == 1) press(bw::KEY_ESCAPE, bw::KEY_RELEASED);
        if (last_step == 2) press(bw::KEY_ESCAPE, bw::KEY_HELD);
        if (last_step == 5) bw::GameManager::getInstance().setGameOver();
    };
    GameStart::getInstance();
    bw::GameManager::getInstance().run();
    EXPECT_EQ(last_step, 5);
}

} // namespace
