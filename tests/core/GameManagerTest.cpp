#include "GameManager.h"

#include "EventStep.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

using bw::GameManager;
using bw::LogManager;

namespace {

/// Records the step counts it hears and the draws it gets, and can run an action on a step.
class StepWatcher : public bw::Object {
public:
    int eventHandler(const bw::Event* event) override {
        if (event->getType() != bw::EVENT_TYPE_STEP) return 0;
        const int count = static_cast<const bw::EventStep*>(event)->getStepCount();
        steps.push_back(count);
        if (on_step) on_step(count);
        return 1;
    }
    int draw() override {
        ++draws;
        return 0;
    }
    std::vector<int> steps;
    int draws = 0;
    std::function<void(int)> on_step;
};

// The loop is tested without a window: the display and input managers then stay unstarted,
// which the loop must survive.
class GameManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        _putenv_s("DISPLAY", "");
#else
        unsetenv("DISPLAY");
#endif
        LogManager::getInstance().setLogLevel(-1);
    }
    void TearDown() override {
        game.shutDown();
        LogManager::getInstance().setLogLevel(-1);
    }

    TempWorkDir dir;
    GameManager& game = GameManager::getInstance();
};

TEST_F(GameManagerTest, StartUpOrderAndSecondStartUp) {
    EXPECT_EQ(game.startUp(), 0);
    EXPECT_TRUE(game.isStarted());
    EXPECT_TRUE(LogManager::getInstance().isStarted());
    EXPECT_TRUE(bw::WorldManager::getInstance().isStarted());
    EXPECT_EQ(LogManager::getInstance().getLogLevel(), 2);

    const auto lines = readLogLines();
    const auto at = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) - lines.begin();
    };
    ASSERT_LT(at("Started up LogManager"), static_cast<long>(lines.size()));
    EXPECT_LT(at("Started up LogManager"), at("Starting up WorldManager"));
    EXPECT_LT(at("Starting up WorldManager"), at("Managers have started up"));
    EXPECT_EQ(at("Managers have started up"), static_cast<long>(lines.size()) - 1);

    const auto before = readLogLines().size();
    EXPECT_EQ(game.startUp(), 1);
    EXPECT_EQ(readLogLines().size(), before);
}

TEST_F(GameManagerTest, ShutDownStopsManagersInReverseOrder) {
    game.startUp();
    new StepWatcher; // the world's shut-down destroys it
    LogManager::getInstance().setLogLevel(-1);
    game.shutDown();
    EXPECT_FALSE(game.isStarted());
    EXPECT_FALSE(LogManager::getInstance().isStarted());
    EXPECT_FALSE(bw::WorldManager::getInstance().isStarted());
    EXPECT_EQ(bw::WorldManager::getInstance().getAllObjects().getCount(), 0);

    const auto lines = readLogLines();
    const auto at = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) - lines.begin();
    };
    EXPECT_LT(at("Managers are shutting down"), at("Shutting down WorldManager"));
    EXPECT_LT(at("Shutting down WorldManager"), at("Shutting down LogManager"));
    EXPECT_EQ(at("Shutting down LogManager"), static_cast<long>(lines.size()) - 1);

    game.shutDown(); // stopped: nothing happens, nothing crashes
    EXPECT_FALSE(game.isStarted());
}

TEST_F(GameManagerTest, StepCountsStartAtZeroAndGameOverEndsTheIteration) {
    game.startUp();
    auto* first = new StepWatcher;
    auto* second = new StepWatcher;
    first->on_step = [&](int count) {
        if (count == 99) game.setGameOver();
    };
    game.run();
    EXPECT_FALSE(game.isRunning());
    ASSERT_EQ(first->steps.size(), 100u);
    EXPECT_EQ(first->steps.front(), 0);
    EXPECT_EQ(first->steps.back(), 99);
    // The iteration in which the game ended was completed: later objects got the step, and the
    // world was drawn.
    EXPECT_EQ(second->steps.size(), 100u);
    EXPECT_EQ(first->draws, 100);
    EXPECT_EQ(second->draws, 100);
}

TEST_F(GameManagerTest, ObjectCreatedDuringStepHearsTheNextStep) {
    game.startUp();
    StepWatcher* late = nullptr;
    auto* creator = new StepWatcher;
    creator->on_step = [&](int count) {
        if (count == 0) late = new StepWatcher;
        if (count == 2) game.setGameOver();
    };
    game.run();
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->steps, (std::vector<int>{1, 2}));
}

TEST_F(GameManagerTest, HundredIdleIterationsTakeThreeSeconds) {
    game.startUp();
    auto* stopper = new StepWatcher;
    stopper->on_step = [&](int count) {
        if (count == 99) game.setGameOver();
    };
    const auto start = std::chrono::steady_clock::now();
    game.run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("hundred_iterations_seconds", std::to_string(seconds));
    std::printf("100 idle iterations took %.3f s\n", seconds);
    EXPECT_GE(seconds, 2.97);
    EXPECT_LE(seconds, 3.15); // a loaded machine lengthens sleeps a little, never shortens them
}

TEST_F(GameManagerTest, SleepAndOverrunLines) {
    game.startUp();
    LogManager::getInstance().setLogLevel(-1);
    EXPECT_EQ(GameManager::idleTimeAfter(30), 0);
    EXPECT_EQ(countLogLines("Sleeping for 0"), 1);
    EXPECT_EQ(GameManager::idleTimeAfter(12), 18);
    EXPECT_EQ(countLogLines("Sleeping for 18"), 1);
    EXPECT_EQ(GameManager::idleTimeAfter(45), 0);
    EXPECT_EQ(countLogLines("Took to long - 15msec slower than TARGET_TIME"), 1);
    EXPECT_EQ(countLogLines("Sleeping for -15"), 0);
}

TEST_F(GameManagerTest, EntrySequenceKeepsOnlyStartUpLinesAndWarnings) {
    game.startUp();
    LogManager::getInstance().setLogLevel(1);
    auto* stopper = new StepWatcher;
    stopper->on_step = [&](int count) {
        if (count == 1) LogManager::getInstance().writeLog(1, "WARNING: something odd");
        if (count == 3) game.setGameOver();
    };
    game.run();
    game.shutDown();
    EXPECT_EQ(countLogLines("Managers have started up"), 1);
    EXPECT_EQ(countLogLines("WARNING: something odd"), 1);
    EXPECT_FALSE(logHasLineStartingWith("Sending step# "));
    EXPECT_FALSE(logHasLineStartingWith("Sleeping for "));
    EXPECT_FALSE(logHasLineStartingWith("Took to long"));
    EXPECT_FALSE(logHasLineStartingWith("Shutting down"));
    EXPECT_EQ(countLogLines("Managers are shutting down"), 0);
}

TEST_F(GameManagerTest, PerIterationLinesAtFullDetail) {
    game.startUp();
    LogManager::getInstance().setLogLevel(-1);
    auto* stopper = new StepWatcher;
    stopper->on_step = [&](int count) {
        if (count == 1) game.setGameOver();
    };
    game.run();
    EXPECT_EQ(countLogLines("Sending step# 0"), 1);
    EXPECT_EQ(countLogLines("Sending step# 1"), 1);
    EXPECT_EQ(countLogLines("Sending step# 2"), 0);
    EXPECT_FALSE(logHasLineStartingWith("Sending event of type \"bw::step\""));
}

TEST_F(GameManagerTest, RunOnStoppedManagerStartsItWithWarning) {
    game.setGameOver(); // not running: changes nothing
    EXPECT_FALSE(game.isRunning());
    EXPECT_FALSE(game.isStarted());
    // run() starts the managers itself, which empties the world, so the loop is ended from
    // outside.
    std::thread stopper([&] {
        while (!game.isRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        game.setGameOver();
    });
    game.run();
    stopper.join();
    EXPECT_TRUE(game.isStarted());
    const auto lines = readLogLines();
    const auto started = std::find(lines.begin(), lines.end(), "Managers have started up");
    const auto warning = std::find(lines.begin(), lines.end(), "WARNING: run was called before starting manager");
    EXPECT_NE(warning, lines.end());
    EXPECT_LT(started, warning);
}

} // namespace
