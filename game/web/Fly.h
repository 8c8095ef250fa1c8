#pragma once

#include "WebObject.h"

/// A fly stuck on a string: arrives with an intro animation (untouchable), then twitches
/// around its anchor until the player's spider eats it for points and one silk charge.
class Fly : public WebObject {
public:
    /// Sticks itself at a random point on a string next to an interior intersection.
    Fly();

    /// Steps (intro, then twitching) and collisions with the player. 1 for the step that ends
    /// the intro and for being eaten, else 0.
    int eventHandler(const bw::Event* event) override;

    /// Points awarded when eaten.
    int getPoints() const { return points; }
    /// True until the intro animation has played once (untouchable meanwhile).
    bool isIntro() const { return intro; }
    /// Step count of the step before the first step the fly heard; -1 until then.
    int getBirthStep() const { return birth_step; }
    /// World position (cells) where the fly is stuck.
    bw::Vector getAnchor() const { return anchor; }

private:
    void endIntro();
    void twitch(int age);
    void eaten();

    int points = 50;
    bool intro = true;
    int birth_step = -1;
    bw::Vector anchor;
};
