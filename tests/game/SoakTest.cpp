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

class SoakTest : public WebPlayTest {};

TEST_F(SoakTest, ManyGamesStayBoundedAndLeaveNothingBehind) {
    ASSERT_TRUE(ScreenSession::copyRunFolder(work_dir.path())) << "no game in " << TARNWICK_RUN_DIR;
    bw::LogManager::getInstance().setLogLevel(0); // errors only: every character drawn warns
    loadResources();
    std::srand(20240611u);
    const int steps =
        std::getenv("TARNWICK_SOAK_STEPS") ? std::atoi(std::getenv("TARNWICK_SOAK_STEPS")) : 20000;
    const bw::Key keys[] = {bw::KEY_W, bw::KEY_A, bw::KEY_S, bw::KEY_D, bw::KEY_ESCAPE};
    bw::WorldManager& world = bw::WorldManager::getInstance();
    GameStart& start = GameStart::getInstance();
    int games = 0;
    for (int step = 0; step < steps; ++step) {
        // A key now and then: W away from play; in play a direction, or once in 41 Escape (the
        // spider's fall).
        const int before = start.getState();
        const bw::EventKeyboard key(keys[before == PLAYING ? std::rand() % 41 / 10 : 0], bw::KEY_PRESSED);
        if (std::rand() % 16 == 0) bw::InputManager::getInstance().onEvent(&key);
        bw::GameManager::getInstance().runIteration(step);
        games += before == TITLE && start.getState() == PLAYING;
        const bool back = before == GAME_OVER && start.getState() == TITLE; // to the title screen
        for (const char* type : {"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer", "SilkShot"})
            ASSERT_EQ(back ? world.objectsOfType(type).getCount() : 0, 0) << type << " left at " << step;
        // Far above a busy game (tens of objects), far below the world's capacity.
        ASSERT_LT(world.getAllObjects().getCount(), 400) << "at step " << step;
    }
    // A soak in which the player never got through a game proves little.
    EXPECT_GE(games, steps / 2000);
    EXPECT_FALSE(logHasLineStartingWith("ERROR:"));
    world.shutDown();
    EXPECT_EQ(world.getAllObjects().getCount(), 0);
}
