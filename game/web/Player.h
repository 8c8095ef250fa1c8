#pragma once

#include "WebObject.h"

/// The player's spider: runs the strings at constant speed, turns at interior intersections
/// as W/A/S/D queue it, bounces at the border (firing a silk shot when charged) and falls when
/// no string leads on.
class Player : public WebObject {
public:
    /// Enters from the left, one column spacing outside the window on row 1, moving right.
    Player();

    /// Keyboard (direction keys, Escape) and step events give 1; collisions (a fly plays the
    /// eat sound) and anything else 0.
    int eventHandler(const bw::Event* event) override;

    /// Starts the fall (once): sound, sprite, drift, no more collisions.
    void die();

    /// Unit direction of the last direction key, NO_POSITION when none waits.
    bw::Vector getQueuedDirection() const { return queued_direction; }
    /// Step count of the latest step while alive (the step of death once dying); -1 at first.
    int getLastStep() const { return last_step; }
    /// True from the first die() on.
    bool isDying() const { return dying; }

private:
    int onStep(int step_count);
    /// Turns at interior intersection c towards unit direction d, only across the current axis.
    void turn(bw::Vector c, bw::Vector d);
    /// Reverses at border intersection c when moving outward, firing a shot when charged.
    void bounce(bw::Vector c);
    /// Shows the sprite for a direction of motion; (0, 0) keeps the current one.
    void face(bw::Vector direction);

    bw::Vector queued_direction = NO_POSITION;
    int last_step = -1;
    bool dying = false;
    /// The game-over screen has been asked for; it is asked only once.
    bool game_over_sent = false;
};
