// Many games of the real game logic in one run, played through the engine's own iteration
// (input, step, update, draw, swap) without a window and without sleeping: random direction keys,
// Escape now and then, W to start and to leave the game-over screen. The world must stay bounded,
// each return to the title must leave no game object behind, and shutting down must empty it.
// TARNWICK_SOAK_STEPS sets the number of steps (default 20000, about 11 minutes of play).
#include "GameManager.h"
#include "GameResources.h"
#include "GameStart.h"
#include "InputManager.h"
#include "LogManager.h"

#include "LogReader.h"
#include "ScreenSession.h"
#include "WebPlayTestSupport.h"

#include <random>

namespace {

TEST(SoakTest, ManyGamesStayBoundedAndLeaveNothingBehind) {
    TempWorkDir dir;
    ASSERT_TRUE(ScreenSession::copyRunFolder(dir.path())) << "no built run folder in " << TARNWICK_RUN_DIR;
    bw::LogManager::getInstance().startUp();
    bw::LogManager::getInstance().setLogLevel(0); // errors only: every character drawn warns
    bw::WorldManager& world = bw::WorldManager::getInstance();
    world.startUp();
    loadResources();
    std::srand(20240611u);
    std::mt19937 random(7u);
    const int steps =
        std::getenv("TARNWICK_SOAK_STEPS") ? std::atoi(std::getenv("TARNWICK_SOAK_STEPS")) : 20000;
    const bw::Key keys[] = {bw::KEY_ESCAPE, bw::KEY_W, bw::KEY_A, bw::KEY_S, bw::KEY_D};
    GameStart& start = GameStart::getInstance();
    int games = 0;
    for (int step = 0; step < steps; ++step) {
        const int before = start.getState();
        // A key now and then: W away from play, where it is a direction like A, S and D and
        // Escape (the spider's fall) comes about once in forty.
        if (random() % 16 == 0) {
            const bw::EventKeyboard key(before != PLAYING ? bw::KEY_W
                                                          : keys[random() % 40 == 0 ? 0 : 1 + random() % 4],
                                        bw::KEY_PRESSED);
            bw::InputManager::getInstance().onEvent(&key);
        }
        bw::GameManager::getInstance().runIteration(step);
        games += before == TITLE && start.getState() == PLAYING;
        int left = 0; // game objects left on the title screen
        for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer", "SilkShot"})
            left +=
                before == GAME_OVER && start.getState() == TITLE ? world.objectsOfType(type).getCount() : 0;
        ASSERT_EQ(left, 0) << "after step " << step;
        // Far above a busy game (tens of objects), far below the world's capacity.
        ASSERT_LT(world.getAllObjects().getCount(), 400) << "at step " << step;
    }
    // A soak in which the player never got through a game proves little.
    EXPECT_GE(games, steps / 2000);
    EXPECT_FALSE(logHasLineStartingWith("ERROR:"));
    world.shutDown();
    EXPECT_EQ(world.getAllObjects().getCount(), 0);
    bw::LogManager::getInstance().shutDown();
}

} // namespace
