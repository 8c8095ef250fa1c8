#pragma once

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <string>

namespace bw {

/// One labelled sound effect with its samples and a single voice.
class Sound {
public:
    Sound();
    /// Stops the voice before releasing it.
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    /// Loads an audio file into the buffer. -1 with an error line on failure.
    int loadSound(const std::string& filename);
    /// The name the sound is found by ("UNDEFINED_SOUND" until set).
    void setLabel(std::string new_label) { label = std::move(new_label); }
    std::string getLabel() const { return label; }
    /// Sets looping, then starts playing (silently when nothing was loaded).
    void play(bool loop = false);
    /// Stops playing.
    void stop();
    /// The voice, for inspection.
    const sf::Sound& getSound() const { return sound; }

private:
    sf::SoundBuffer buffer;
    sf::Sound sound;
    std::string label = "UNDEFINED_SOUND";
};

} // namespace bw
