// Tarnwick: brings the Brackwen engine up, loads the game's resources, shows the title screen
// and runs the game loop until the player quits.

#include "DisplayManager.h"
#include "GameManager.h"
#include "GameResources.h"
#include "GameStart.h"
#include "LogManager.h"

#include <iostream>
#include <string>

int main() {
    bw::GameManager& game = bw::GameManager::getInstance();
    game.startUp();

    // Without a window nobody could see or steer the game: say so and stop.
    if (bw::DisplayManager::getInstance().getWindow() == nullptr) {
        const std::string message = "ERROR: no display: cannot open the game window";
        std::cerr << "tarnwick: " << message << "\n";
        bw::LogManager::getInstance().writeLog(0, message);
        game.shutDown();
        return 1;
    }

    bw::LogManager::getInstance().setLogLevel(1);
    loadResources();
    GameStart::getInstance();
    game.run();
    game.shutDown();
    return 0;
}
