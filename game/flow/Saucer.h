#pragma once

#include "Object.h"
#include "Vector.h"

/// The air strike: aimed at an intersection whose twelve surrounding strings blink as a
/// warning, it comes down on a ballistic arc, cuts those strings when it passes the target's
/// height and falls on out of the window.
class Saucer : public bw::Object {
public:
    /// Start height above the target, in cells.
    static constexpr float FALL_HEIGHT = 32.0f;
    /// Flight time the arc is laid out for, in units of frame-time steps.
    static constexpr float FALL_TIME = 3.5f;

    /// target is a web coordinate (column, row).
    explicit Saucer(bw::Vector target);

    /// Steps and out events give 1; collisions are ignored.
    int eventHandler(const bw::Event* event) override;

    /// Starts (on) or stops the blinking of the target zone's strings.
    void setTargetFlashing(bool on);
    /// Cuts the target zone's strings.
    void destroyTarget();

    /// Downward velocity gained per frame-time steps (1.5 → 0.05 per step).
    float getGravity() const { return gravity; }
    /// Web coordinate of the target intersection.
    bw::Vector getTarget() const { return target; }
    /// World position (cells) of the target.
    bw::Vector getTargetPosition() const { return target_position; }
    /// True once it has passed the target's height and cut the zone.
    bool isCrashed() const { return crashed; }

private:
    /// Calls visit(a, b) for each string of the target zone, in the zone's order.
    template <typename Visit> void forEachZoneString(Visit visit) const;

    float gravity = 1.5f;
    bw::Vector target;
    bw::Vector target_position;
    bool crashed = false;
};
