#pragma once

#include "Color.h"
#include "SingletonObject.h"
#include "Vector.h"

/// Holds the score, shows it bottom right and awards every point of the game: each award
/// plays a sound and raises a pop-up text. The first getInstance() call creates it at
/// (H − 2, V − 2) cells, (78, 22) by default.
class ScoreCounter : public SingletonObject<ScoreCounter> {
public:
    /// Score 0, shown.
    void reset();
    /// Stops drawing the counter; the score stays.
    void hide();
    /// Adds points, plays "silk-charged" or "points-gained" and raises a pop-up at position
    /// (showing "+points" at the counter when position is NO_POSITION).
    void addPoints(int points, bw::Vector position, bw::Color color, bool silk_charged);
    /// "SCORE: n" right-justified at the counter's position; 0 when hidden.
    int draw() override;

    /// Points so far in this game.
    int getScore() const { return score; }
    /// Whether draw() shows the counter.
    bool isVisible() const { return visible; }

private:
    friend class SingletonObject<ScoreCounter>;
    ScoreCounter();

    int score = 0;
    bool visible = true;
};
