#pragma once

#include "Object.h"

/// Invisible object that exists while a game is played and brings giant enemy spiders, flies
/// and saucers on three timers, each interval 2 % shorter after every spawn, down to a floor.
/// Times are in units of frame-time steps (30 steps).
class Spawner : public bw::Object {
public:
    /// Starts the ramp afresh: flies after 4.3, spiders after 11 and saucers after 20 units.
    Spawner();

    /// Runs spawn() on every step. Always 0.
    int eventHandler(const bw::Event* event) override;
    /// Draws nothing.
    int draw() override { return 0; }

    /// One step of the schedule: spider, then fly, then saucer.
    void spawn();

    /// Factor applied to an interval after each spawn of its kind.
    float getDecay() const { return decay; }
    /// Floor of every interval.
    float getMinInterval() const { return min_interval; }
    float getSpiderInterval() const { return spider_interval; }
    float getSpiderCountdown() const { return spider_countdown; }
    float getFlyInterval() const { return fly_interval; }
    float getFlyCountdown() const { return fly_countdown; }
    float getSaucerInterval() const { return saucer_interval; }
    float getSaucerCountdown() const { return saucer_countdown; }

private:
    /// Shrinks interval by decay, not below min_interval, and restarts countdown with it.
    void restart(float& interval, float& countdown) const;

    float decay = 0.98f;
    float min_interval = 1.0f;
    float spider_interval = 20.0f;
    float spider_countdown = 11.0f;
    float fly_interval = 4.3f;
    float fly_countdown = 4.3f;
    float saucer_interval = 35.0f;
    float saucer_countdown = 20.0f;
};
