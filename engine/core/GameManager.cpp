#include "GameManager.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include <chrono>
#include <thread>

namespace bw {

namespace {
// How late an iteration may begin (a busy machine wakes a sleeper late) and still count from its
// deadline rather than from now. Half an iteration: the next one still gets most of its time.
constexpr std::chrono::microseconds WAKE_UP_ALLOWANCE(TARGET_TIME * 1000 / 2);
} // namespace

GameManager& GameManager::getInstance() {
    static GameManager instance;
    return instance;
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

int GameManager::idleTimeAfter(int elapsed_ms) {
    if (elapsed_ms <= TARGET_TIME) {
        const int idle = TARGET_TIME - elapsed_ms;
        LogManager::getInstance().writeLog(3, "Sleeping for " + std::to_string(idle));
        return idle;
    }
    LogManager::getInstance().writeLog(2, "Took to long - " + std::to_string(elapsed_ms - TARGET_TIME) +
                                              "msec slower than TARGET_TIME");
    return 0;
}

void GameManager::run() {
    if (state < STARTED) {
        startUp();
        LogManager::getInstance().writeLog(1, "WARNING: run was called before starting manager");
    }
    frame_clock.delta();
    state = RUNNING;
    int step_count = 0;
    // Iterations begin on a grid of TARGET_TIME steps, kept to the microsecond: sleeping for the
    // whole milliseconds left would add the part of a millisecond the clock drops, and the
    // sleep's own lateness, to every iteration.
    using std::chrono::steady_clock;
    steady_clock::time_point deadline = steady_clock::now();
    bool overran = true; // the first iteration, like one after an overrun, counts from now
    while (true) {
        frame_clock.delta();
        const steady_clock::time_point now = steady_clock::now();
        // A wake-up a little late still counts from the deadline, so lateness does not pile up.
        // After an overrun, or a long delay, the iteration counts from now: there is no catch-up.
        const steady_clock::time_point start = overran || now - deadline > WAKE_UP_ALLOWANCE ? now : deadline;
        deadline = start + std::chrono::milliseconds(TARGET_TIME);
        runIteration(step_count);
        const int elapsed = static_cast<int>(frame_clock.split());
        idleTimeAfter(elapsed);
        overran = elapsed > TARGET_TIME;
        if (!overran) std::this_thread::sleep_until(deadline);
        ++step_count;
        if (state != RUNNING) return;
    }
}

} // namespace bw
