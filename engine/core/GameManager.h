#pragma once

#include "Clock.h"
#include "Manager.h"

#include <atomic>
#include <chrono>

namespace bw {

/// Length of one loop iteration in milliseconds (about 33 iterations a second).
constexpr int TARGET_TIME = 30;

/// Owns the fixed-rate game loop and the start-up and shut-down order of the other managers:
/// log, world, display, input up; input, display, world, log down.
class GameManager : public Manager {
public:
    static GameManager& getInstance();
    /// Warns and shuts everything down if the loop is still running.
    ~GameManager() override;

    /// Starts the log, world, display and input managers, then sets the log threshold to 2.
    /// 0 on success, 1 when already started (nothing happens then).
    int startUp() override;
    /// Shuts the managers down in the reverse order. Does nothing when stopped.
    void shutDown() override;

    /// Runs iterations of input, step, update, draw and swap until setGameOver(), each followed
    /// by a sleep for the rest of its TARGET_TIME ms; an iteration that overruns is followed by
    /// none, and nothing is caught up later. Starts the managers first (with a warning) if nobody
    /// did.
    void run();

    /// Ends the loop after the current iteration. Does nothing when the loop is not running.
    void setGameOver();
    /// True while inside run() and not yet told to stop.
    bool isRunning() const { return state == RUNNING; }
    /// TARGET_TIME, the frame time game code turns durations into steps with.
    int getFrameTime() const { return TARGET_TIME; }

    /// One iteration's work without the final sleep: input, the step event for step_count,
    /// world update, draw, swap. The loop calls it; tools that drive the engine without real
    /// time (soak tests, benchmarks) call it too.
    void runIteration(int step_count);

    /// The sleep after an iteration that took elapsed (measured from the iteration's own start):
    /// TARGET_TIME - elapsed, logged at level 3 as "Sleeping for " and the milliseconds to the
    /// microsecond ("Sleeping for 11.75"); after an overrun 0, with the overrun line at level 2
    /// ("Took to long - 0.25msec slower than TARGET_TIME"). The loop sleeps exactly this.
    static std::chrono::microseconds idleTimeAfter(std::chrono::microseconds elapsed);

private:
    GameManager();

    enum State { STOPPED = 0, STARTED = 1, RUNNING = 2 };
    void stopManagers();
    /// Sleeps at least idle by the steady clock.
    static void sleepFully(std::chrono::microseconds idle);

    // Atomic so that a watchdog or signal-handling thread may end the loop safely.
    std::atomic<int> state = STOPPED;
    /// Marks the start of the current iteration.
    Clock frame_clock;
};

} // namespace bw
