#pragma once

#include "SingletonObject.h"

/// Charge a silk shot needs and consumes.
constexpr int SHOT_COST = 3;

/// Holds the silk charge earned by eating flies and shows it bottom left as frame `charge` of
/// its sprite (so the sprite's frame count sets the highest charge). The first getInstance()
/// call creates it with the sprite "silk-counter-spr", its left edge 3 cells from the window's,
/// 3 rows above the bottom.
class SilkCounter : public SingletonObject<SilkCounter> {
public:
    /// One charge more, up to the sprite's frame count − 1.
    void addCharge();
    /// charge ≥ SHOT_COST.
    bool isCharged() const;
    /// SHOT_COST charges less, not below 0.
    void useCharge();
    /// Charge 0, shown.
    void reset();
    /// Stops drawing the counter; the charge stays.
    void hide();
    /// Frame `charge` of the counter's sprite; 0 when hidden.
    int draw() override;

    /// Silk charges held, 0 to the sprite's frame count − 1.
    int getCharge() const { return charge; }
    /// Whether draw() shows the counter.
    bool isVisible() const { return visible; }

private:
    friend class SingletonObject<SilkCounter>;
    SilkCounter();

    bool visible = true;
    int charge = 0;
};
