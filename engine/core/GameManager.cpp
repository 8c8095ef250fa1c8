#include "GameManager.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include <chrono>
#include <string>
#include <thread>

namespace bw {

namespace {
/// A duration in milliseconds, with as many decimals as it has microseconds: "12", "11.75".
std::string millisecondsText(std::chrono::microseconds duration) {
    const auto micros = duration.count();
    std::string text = std::to_string(micros / 1000);
    if (micros % 1000 == 0) return text;
    std::string fraction = std::to_string(1000 + micros % 1000).substr(1); // three digits
    while (fraction.back() == '0') fraction.pop_back();
    return text + "." + fraction;
}
} // namespace

GameManager& GameManager::getInstance() {
    static GameManager instance;
    return instance;
}

// The managers the destructor shuts down are made first, so that they are destroyed after the game
// manager even when a program asks for it before any of them.
GameManager::GameManager() {
    LogManager::getInstance();
    WorldManager::getInstance();
    DisplayManager::getInstance();
    InputManager::getInstance();
}

GameManager::~GameManager() {
    if (state == RUNNING) {
        LogManager::getInstance().writeLog(1, "WARNING: Game Manager killed before game ended");
        state = STARTED;
    }
    if (state >= STARTED) stopManagers();
}

int GameManager::startUp() {
    if (state > STOPPED) return 1;
    // A manager that fails stays unstarted; the others still come up.
    LogManager::getInstance().startUp();
    WorldManager::getInstance().startUp();
    DisplayManager::getInstance().startUp();
    InputManager::getInstance().startUp();
    state = STARTED;
    LogManager::getInstance().writeLog(2, "Managers have started up");
    LogManager::getInstance().setLogLevel(2);
    setStarted(true);
    return 0;
}

void GameManager::shutDown() {
    if (state == STOPPED) return;
    stopManagers();
}

void GameManager::stopManagers() {
    LogManager::getInstance().writeLog(2, "Managers are shutting down");
    InputManager::getInstance().shutDown();
    DisplayManager::getInstance().shutDown();
    WorldManager::getInstance().shutDown();
    LogManager::getInstance().shutDown();
    setStarted(false);
    state = STOPPED;
}

void GameManager::setGameOver() {
    if (state == RUNNING) state = STARTED;
}

void GameManager::runIteration(int step_count) {
    InputManager::getInstance().getInput();

    const EventStep step(step_count);
    LogManager& log = LogManager::getInstance();
    log.writeLog(3, "Sending step# " + std::to_string(step_count));
    log.flushFile();
    // Objects created by a step handler join the world but not this copy: they hear the next step.
    const ObjectList objects = WorldManager::getInstance().getAllObjects();
    for (Object* object : objects) object->eventHandler(&step);

    WorldManager::getInstance().update();
    WorldManager::getInstance().draw();
    DisplayManager::getInstance().swapBuffers();
}

std::chrono::microseconds GameManager::idleTimeAfter(std::chrono::microseconds elapsed) {
    const std::chrono::microseconds target = std::chrono::milliseconds(TARGET_TIME);
    if (elapsed <= target) {
        const std::chrono::microseconds idle = target - elapsed;
        LogManager::getInstance().writeLog(3, "Sleeping for " + millisecondsText(idle));
        return idle;
    }
    LogManager::getInstance().writeLog(2, "Took to long - " + millisecondsText(elapsed - target) +
                                              "msec slower than TARGET_TIME");
    return std::chrono::microseconds(0);
}

void GameManager::sleepFully(std::chrono::microseconds idle) {
    // Some systems round a sleep down to whole milliseconds (MinGW's threads on Windows do); the
    // rest is slept again, so an iteration never ends early.
    const auto until = std::chrono::steady_clock::now() + idle;
    for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(until - now);
}

void GameManager::run() {
    if (state < STARTED) {
        startUp();
        LogManager::getInstance().writeLog(1, "WARNING: run was called before starting manager");
    }
    frame_clock.delta();
    state = RUNNING;
    int step_count = 0;
    while (true) {
        frame_clock.delta(); // the iteration starts now
        runIteration(step_count);
        // The rest of this iteration's TARGET_TIME, measured from its own start to the
        // microsecond. A late wake-up is not made up for in the next iteration.
        sleepFully(idleTimeAfter(frame_clock.splitMicroseconds()));
        ++step_count;
        if (state != RUNNING) return;
    }
}

} // namespace bw
