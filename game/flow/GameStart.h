#pragma once

#include "SingletonObject.h"

/// Which screen the game shows.
enum GameState {
    TITLE = 0,
    PLAYING = 1,
    GAME_OVER = 2,
};

/// Runs the game's screens: the title screen with its instructions, play, and the game-over
/// screen; W moves on, Escape outside play ends the program. Also switches the music. The first
/// getInstance() call creates it, shows the title and plays its music.
class GameStart : public SingletonObject<GameStart> {
public:
    /// Steps per half-period of the title prompt's blinking.
    static constexpr int BLINK_STEPS = 18;

    /// Steps and keyboard events give 1, anything else 0.
    int eventHandler(const bw::Event* event) override;
    /// Draws the current screen. Always 1.
    int draw() override;

    /// Switches to the game-over screen; a saucer falls onto each interior column of the web.
    /// Called by the dying Player.
    void gameOver();

    /// The screen shown: TITLE, PLAYING or GAME_OVER.
    int getState() const { return state; }
    /// Step events received since creation; never reset.
    int getStepCount() const { return step_count; }

private:
    friend class SingletonObject<GameStart>;
    GameStart();
    void startGame();
    void returnToMenu();
    void drawTitle();
    void drawGameOver();

    int state = TITLE;
    int step_count = 0;
};
