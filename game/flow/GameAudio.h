#pragma once

#include <string>

/// Plays, loops and stops the resource manager's labelled sounds and music. A label whose file
/// failed to load (or was never loaded) is skipped quietly, so a missing file never stops play.
class GameAudio {
public:
    /// Plays the sound once.
    static void playSound(const std::string& label);
    /// Starts the music from the beginning, looping.
    static void playMusic(const std::string& label);
    static void stopMusic(const std::string& label);
};
