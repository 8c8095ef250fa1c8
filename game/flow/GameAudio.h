#pragma once

#include <functional>
#include <string>

/// Plays, loops and stops the resource manager's labelled sounds and music. A label whose file
/// failed to load (or was never loaded) is skipped quietly, so a missing file never stops play.
class GameAudio {
public:
    /// What the game asked for.
    enum Request { SOUND_PLAYED, MUSIC_STARTED, MUSIC_STOPPED };
    /// Hears every request, with its label, before it is carried out (whether the file loaded
    /// or not): tests see exactly what the game plays.
    using Listener = std::function<void(Request, const std::string& label)>;

    /// Plays the sound once.
    static void playSound(const std::string& label);
    /// Starts the music from the beginning, looping.
    static void playMusic(const std::string& label);
    static void stopMusic(const std::string& label);

    /// Sets the one listener (an empty one for none).
    static void setListener(Listener listener);

private:
    static void tell(Request request, const std::string& label);
};
