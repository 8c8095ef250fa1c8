#pragma once

#include "WebObject.h"

#include <cstdint>

namespace bw {
class EventCollision;
}

/// A shot of silk fired by the player's bounce: flies straight across the web, restoring the
/// string ahead at every intersection and killing the giant enemy spiders it touches, with
/// points that grow with each repair and each kill of the same shot.
class SilkShot : public WebObject {
public:
    /// direction is one WebDirection bit; the creator places the shot afterwards (fireFrom).
    explicit SilkShot(std::uint32_t direction);

    /// Places the shot where it is fired from, just outside the border intersection the
    /// player's spider bounced at, and aims it at that intersection: at its first step past it
    /// the shot reports it crossed and restores the string from it into the web.
    void fireFrom(bw::Vector position);

    /// Step (repairs, 1), collision (1 for a giant enemy spider, else 0) and out (deletes
    /// the shot, 0) events; 0 for anything else.
    int eventHandler(const bw::Event* event) override;

    /// Strings this shot has restored so far.
    int getRepairs() const { return repairs; }
    /// Giant enemy spiders this shot has hit so far.
    int getKills() const { return kills; }

private:
    /// Restores the string ahead of an intersection just passed, for growing points.
    int onStep();
    /// Scores a hit on a giant enemy spider; 0 for anything else.
    int onCollision(const bw::EventCollision* collision);

    int repairs = 0;
    int kills = 0;
};
