// A long session of the real game, played by an automated player through the engine's own
// iteration (input, step, update, draw, swap) without sleeping: direction keys at random, Escape
// now and then, new games from the game-over screen. Nothing may be left behind on the title
// screen, the world must not grow, and the sanitizer build must find no fault or leak.
//
// TARNWICK_SOAK_STEPS sets the number of steps (default 20000, about 11 minutes of play). The
// full soak, 100000 steps or 55 minutes of play, from the checkout, in the sanitizer build:
//   export TARNWICK_SOAK_STEPS=100000
//   scripts/run-in-toolchain bash -c 'source scripts/sanitizer-env.sh && build-asan/tests/SoakTest'
// or in the normal build: scripts/run-in-toolchain build/tests/SoakTest
//
// There is no window (the display manager is not started), so drawing fails softly with a
// warning per character. The log is kept to a few megabytes: it is scanned for errors and
// emptied every LOG_CHUNK_STEPS steps through the log manager's restart.
#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameResources.h"
#include "GameStart.h"
#include "InputManager.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ScreenSession.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

namespace {

constexpr int DEFAULT_STEPS = 20000;
// Far above a busy game (tens of objects) and far below the world's capacity: objects piling up
// over games cross it within a few thousand steps.
constexpr int OBJECT_LIMIT = 400;
constexpr int LOG_CHUNK_STEPS = 250;
const std::array<const char*, 5> GAME_TYPES = {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer"};

int soakSteps() {
    const char* text = std::getenv("TARNWICK_SOAK_STEPS");
    const int steps = text != nullptr ? std::atoi(text) : 0;
    return steps > 0 ? steps : DEFAULT_STEPS;
}

/// Resident memory of this process in kB, from /proc (Linux only); -1 where there is none.
long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

std::string leftoverGameObjects() {
    std::string found;
    for (const bw::Object* object : bw::WorldManager::getInstance().getAllObjects())
        if (std::find(GAME_TYPES.begin(), GAME_TYPES.end(), object->getType()) != GAME_TYPES.end())
            found += object->getType() + " ";
    return found;
}

/// The log's errors since the last call, then an empty log (the log manager truncates at start).
std::vector<std::string> takeLogErrors() {
    std::vector<std::string> errors;
    for (const std::string& line : readLogLines())
        if (line.rfind("ERROR:", 0) == 0) errors.push_back(line);
    bw::LogManager& log = bw::LogManager::getInstance();
    log.shutDown();
    log.startUp();
    log.setLogLevel(1);
    return errors;
}

/// Presses and releases keys the way a restless player would, one decision per step.
class AutoPlayer {
  public:
    explicit AutoPlayer(unsigned seed) : random(seed) {}

    /// Sends this step's key events (before the iteration, as its input would).
    void act(int state) {
        if (held != bw::UNDEFINED_KEY && --hold_left <= 0) {
            send(held, bw::KEY_RELEASED);
            held = bw::UNDEFINED_KEY;
        }
        if (--wait_left > 0 || held != bw::UNDEFINED_KEY) return;
        if (state == PLAYING) {
            // Direction keys every few steps; Escape now and then, sooner in some games than in
            // others (the spider falls on a cut string often enough by itself).
            const bool escape = pick(patience) == 0;
            press(escape ? bw::KEY_ESCAPE : DIRECTIONS[pick(DIRECTIONS.size())]);
            wait_left = 3 + pick(40);
        } else {
            // W starts a game on the title screen and goes back to it from the game-over screen.
            press(bw::KEY_W);
            wait_left = 20 + pick(120);
            patience = 10 + pick(300);
        }
    }

  private:
    static constexpr std::array<bw::Key, 4> DIRECTIONS = {bw::KEY_W, bw::KEY_A, bw::KEY_S, bw::KEY_D};

    int pick(std::size_t count) { return static_cast<int>(random() % count); }
    void press(bw::Key key) {
        send(key, bw::KEY_PRESSED);
        held = key;
        hold_left = 1 + pick(4);
    }
    static void send(bw::Key key, bw::KeyboardAction action) {
        const bw::EventKeyboard event(key, action);
        bw::InputManager::getInstance().onEvent(&event);
    }

    std::mt19937 random;
    bw::Key held = bw::UNDEFINED_KEY;
    int hold_left = 0;
    int wait_left = 30;
    // One Escape in this many key presses.
    int patience = 50;
};

TEST(SoakTest, LongPlayLeavesNothingBehindAndStaysBounded) {
    TempWorkDir dir;
    ASSERT_TRUE(ScreenSession::copyRunFolder(dir.path())) << "no built run folder in " << TARNWICK_RUN_DIR;
    bw::LogManager::getInstance().startUp();
    bw::LogManager::getInstance().setLogLevel(1);
    bw::WorldManager::getInstance().startUp();
    loadResources();
    ASSERT_EQ(takeLogErrors(), std::vector<std::string>{});
    std::srand(20240611u);
    GameStart& start = GameStart::getInstance();
    const long rss_start = residentKilobytes();
    const auto began = std::chrono::steady_clock::now();

    const int steps = soakSteps();
    AutoPlayer player(7u);
    bw::GameManager& game = bw::GameManager::getInstance();
    int games = 0, returns = 0, largest = 0, game_start = 0, longest_game = 0;
    for (int step = 0; step < steps; ++step) {
        const int before = start.getState();
        player.act(before);
        game.runIteration(step);
        const int after = start.getState();
        if (before == TITLE && after == PLAYING) {
            ++games;
            game_start = step;
        }
        if (before == PLAYING && after == GAME_OVER) longest_game = std::max(longest_game, step - game_start);
        if (before == GAME_OVER && after == TITLE) {
            ++returns;
            ASSERT_EQ(leftoverGameObjects(), "") << "on the title screen after step " << step;
        }
        const int count = bw::WorldManager::getInstance().getAllObjects().getCount();
        largest = std::max(largest, count);
        ASSERT_LT(count, OBJECT_LIMIT) << "at step " << step;
        if (step % LOG_CHUNK_STEPS == LOG_CHUNK_STEPS - 1) {
            ASSERT_EQ(takeLogErrors(), std::vector<std::string>{}) << "up to step " << step;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const long rss_end = residentKilobytes();
    bw::WorldManager::getInstance().shutDown();
    bw::LogManager::getInstance().shutDown();

    // A soak in which the player never got through a game proves little.
    EXPECT_GE(games, steps / 4000);
    EXPECT_GE(returns, games - 1);
    std::ostringstream report;
    report << "[ soak      ] " << steps << " steps in " << seconds << " s, " << games << " games, " << returns
           << " returns to the title, longest game " << longest_game << " steps, at most " << largest
           << " objects, resident memory "
           << rss_start << " kB at the start and " << rss_end << " kB at the end\n";
    std::cout << report.str();
    RecordProperty("steps", steps);
    RecordProperty("games", games);
    RecordProperty("longest_game_steps", longest_game);
    RecordProperty("largest_object_count", largest);
    RecordProperty("rss_start_kb", static_cast<int>(rss_start));
    RecordProperty("rss_end_kb", static_cast<int>(rss_end));
}

} // namespace
