#include "GameManager.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

using bw::GameManager;
using bw::LogManager;
using Lines = std::vector<std::string>;

namespace {

// Everything the game manager's destructor reaches is made before it, so that it is still there
// at exit, when that destructor logs and shuts the managers down.
GameManager& game = (RecordingObject::journal(), LogManager::getInstance(), bw::WorldManager::getInstance(),
                     bw::DisplayManager::getInstance(), bw::InputManager::getInstance(), GameManager::getInstance());

/// The log's messages that are among wanted, in the order of the log.
Lines logLinesAmong(const Lines& wanted) {
    Lines found;
    for (const std::string& line : readLogLines())
        if (std::find(wanted.begin(), wanted.end(), line) != wanted.end()) found.push_back(line);
    return found;
}

/// An object that notes the step counts it hears and ends the game in the step numbered last.
void stopAfter(int last, std::vector<int>* steps = nullptr) {
    (new RecordingObject("S"))->on_event = [last, steps](const bw::Event* event) {
        const int count = static_cast<const bw::EventStep*>(event)->getStepCount();
        if (steps) steps->push_back(count);
        if (count == last) game.setGameOver();
    };
}

// The loop is tested without a window: the display and input managers then stay unstarted,
// which the loop must survive.
class GameManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogManager::getInstance().setLogLevel(-1);
        RecordingObject::journal().clear();
    }
    void TearDown() override { game.shutDown(); }

    TempWorkDir dir;
    WindowDisplayOverride no_display{""};
};

TEST_F(GameManagerTest, StartsUpInOrderOnceAndShutsDownInReverse) {
    EXPECT_EQ(game.startUp(), 0);
    EXPECT_TRUE(game.isStarted() && LogManager::getInstance().isStarted() && bw::WorldManager::getInstance().isStarted());
    EXPECT_EQ(LogManager::getInstance().getLogLevel(), 2);
    const Lines started{"Started up LogManager", "Starting up WorldManager", "Managers have started up"};
    EXPECT_EQ(logLinesAmong(started), started);
    EXPECT_EQ(readLogLines().back(), started.back());
    EXPECT_EQ(game.startUp(), 1);
    EXPECT_EQ(logLinesAmong(started), started);

    new RecordingObject("A"); // the world's shut-down destroys it
    game.shutDown();
    EXPECT_EQ(RecordingObject::journal(), Lines{"A deleted"});
    EXPECT_FALSE(game.isStarted() || LogManager::getInstance().isStarted() || bw::WorldManager::getInstance().isStarted());
    const Lines stopped{"Managers are shutting down", "Shutting down WorldManager", "Shutting down LogManager"};
    EXPECT_EQ(logLinesAmong(stopped), stopped);
    EXPECT_EQ(readLogLines().back(), stopped.back());
}

// The iteration in which the game ends is completed: later objects get the step and the world
// is drawn. An object made during a step hears the next one. Per-iteration lines are level 3.
// How long the loop takes is measured by the loop benchmarks; here only that it sleeps at all:
// no iteration ends before TARGET_TIME has passed since it began.
TEST_F(GameManagerTest, StepsCountFromZeroAndGameOverEndsAfterTheWholeIteration) {
    game.startUp();
    LogManager::getInstance().setLogLevel(3);
    std::vector<int> steps;
    stopAfter(2, &steps);
    (new RecordingObject("B"))->on_event = [](const bw::Event* event) {
        if (static_cast<const bw::EventStep*>(event)->getStepCount() == 0) new RecordingObject("L");
    };
    const auto start = std::chrono::steady_clock::now();
    game.run();
    const auto taken = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(taken >= std::chrono::milliseconds(3 * bw::TARGET_TIME) && taken < std::chrono::seconds(20))
        << std::chrono::duration<double>(taken).count() << " s";
    EXPECT_FALSE(game.isRunning());
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
    const Lines& journal = RecordingObject::journal();
    for (const auto& [entry, count] : {std::pair{"B step", 3}, {"L step", 2}, {"S draw", 3}, {"L draw", 3}})
        EXPECT_EQ(std::count(journal.begin(), journal.end(), entry), count) << entry;
    EXPECT_EQ(logLinesAmong({"Sending step# 0", "Sending step# 2", "Sending step# 3"}),
              (Lines{"Sending step# 0", "Sending step# 2"}));
    LogManager::getInstance().setLogLevel(2);
    game.runIteration(7);
    EXPECT_FALSE(logHasLineStartingWith("Sending step# 7"));
}

// Sleeps are logged at level 3, overruns at level 2 (where the game runs).
TEST_F(GameManagerTest, SleepIsTheRestOfTheTargetTimeToTheMicrosecondAndNoneAfterAnOverrun) {
    game.startUp();
    using us = std::chrono::microseconds;
    const std::pair<us, us> cases[] = {{us(30000), us(0)}, {us(12000), us(18000)}, {us(18250), us(11750)},
                                       {us(29999), us(1)}, {us(45000), us(0)},     {us(30250), us(0)}};
    const Lines overruns{"Took to long - 15msec slower than TARGET_TIME", "Took to long - 0.25msec slower than TARGET_TIME"};
    const Lines all{"Sleeping for 0", "Sleeping for 18", "Sleeping for 11.75", "Sleeping for 0.001", overruns[0], overruns[1]};
    for (const int level : {3, 2}) {
        LogManager::getInstance().setLogLevel(level);
        const auto before = static_cast<long>(readLogLines().size());
        for (const auto& [elapsed, idle] : cases) EXPECT_EQ(GameManager::idleTimeAfter(elapsed), idle) << elapsed.count();
        const Lines lines = readLogLines();
        EXPECT_EQ(Lines(lines.begin() + before, lines.end()), level == 3 ? all : overruns);
    }
}

TEST_F(GameManagerTest, RunOnStoppedManagerStartsItWithWarning) {
    game.setGameOver(); // not running: changes nothing
    EXPECT_FALSE(game.isRunning() || game.isStarted());
    // run() starts the managers itself, which empties the world, so the loop is ended from
    // outside as soon as it runs.
    std::thread stopper([] {
        while (!game.isRunning()) std::this_thread::yield();
        game.setGameOver();
    });
    game.run();
    stopper.join();
    EXPECT_TRUE(game.isStarted());
    const Lines order{"Managers have started up", "WARNING: run was called before starting manager"};
    EXPECT_EQ(logLinesAmong(order), order);
}

// A program that exits from inside the loop (or merely started) leaves the game manager to shut
// everything down as it is destroyed. The log is echoed to the child's error stream, which the
// death test reads, so this works however the child process is made. The pattern uses only what
// both kinds of death-test regex read (no newline matched by '.').
TEST_F(GameManagerTest, DestroyedWhileRunningWarnsAndShutsTheManagersDown) {
    const auto exitFrom = [](bool running) {
        std::cout.rdbuf(std::cerr.rdbuf());
        LogManager::getInstance().setEcho(true);
        game.startUp();
        (new RecordingObject("X"))->on_event = [](const bw::Event*) { std::exit(0); };
        if (running) game.run();
        std::exit(0);
    };
    const std::string line = "\n..:..:...... - ";
    const std::string shut_down = line + "Managers are shutting down" + line + "Shutting down WorldManager" + line +
                                  "Shutting down: deleting RecordingObject with id .*" + line + "Shutting down LogManager\n";
    EXPECT_EXIT(exitFrom(true), ::testing::ExitedWithCode(0),
                "Managers have started up" + line + "WARNING: Game Manager killed before game ended" + shut_down);
    EXPECT_EXIT(exitFrom(false), ::testing::ExitedWithCode(0), "Managers have started up" + shut_down);
}

} // namespace
