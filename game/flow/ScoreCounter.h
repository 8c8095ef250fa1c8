#pragma once

#include "Color.h"
#include "Object.h"
#include "Vector.h"

/// Holds the score, shows it bottom right and awards every point of the game: each award
/// plays a sound and raises a pop-up text.
class ScoreCounter : public bw::Object {
public:
    /// The one counter; the first call creates it at (H − 2, V − 2) cells, (78, 22) by default.
    static ScoreCounter& getInstance();
    ~ScoreCounter() override;

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
    ScoreCounter();

    int score = 0;
    bool visible = true;
};
