#pragma once

#include "WebObject.h"

#include <ctime>

/// What a giant enemy spider is doing.
enum SpiderState {
    WAITING = 0,  ///< paused at an interior intersection
    WALKING = 1,  ///< on its way to the next intersection
    SEVERING = 2, ///< working on a string, which blinks until it is cut
    DYING = 3,    ///< flung up, falling out of the window
};

/// An enemy that climbs onto the web from outside, walks from intersection to intersection,
/// pauses, and at random walks on or cuts one of the strings there. Dies on touching a saucer
/// or a silk shot.
class GiantEnemySpider : public WebObject {
public:
    /// Enters through a random border intersection that still has its string.
    GiantEnemySpider();

    /// Steps (walk, wait, decide, sever, fall), collisions with saucers and silk shots, and
    /// out events while dying. 1 for steps, else 0.
    int eventHandler(const bw::Event* event) override;

    /// One of WAITING, WALKING, SEVERING, DYING.
    int getState() const { return state; }
    /// Web coordinate of the last intersection passed (or stood at).
    bw::Vector getCurrentIntersection() const { return current_intersection; }
    /// Unit offset last chosen at an intersection, to walk or to sever.
    bw::Vector getHeading() const { return heading; }
    /// Steps left in WAITING or SEVERING.
    int getTimer() const { return timer; }
    /// Steps spent at each interior intersection.
    int getWaitTime() const { return wait_time; }
    /// Steps a string blinks before it is cut.
    int getSeverTime() const { return sever_time; }
    /// Speed while walking, in cells per step before the world's vertical scaling.
    float getWalkSpeed() const { return walk_speed; }

    /// Where every spider's decisions take their seed from: the calendar time in seconds
    /// (std::time) unless a test gives a clock of its own; null restores std::time.
    using SeedClock = std::time_t (*)();
    static void setSeedClock(SeedClock clock);

private:
    int onStep();
    void chooseNextMove(bw::Vector c);
    void setState(int new_state);
    void face(bw::Vector direction);

    int state = WALKING;
    bw::Vector current_intersection;
    bw::Vector heading{1, 0};
    int timer = 0;
    int wait_time = 15;
    int sever_time = 30;
    float walk_speed = 0.2f;
};
