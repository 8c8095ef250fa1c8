#pragma once

#include <SFML/Audio/Music.hpp>

#include <string>

namespace bw {

/// One labelled piece of music, streamed from its file while it plays.
class Music {
public:
    Music() = default;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    /// Opens the file as a stream. Always 0: a failure is only logged and the entry stays silent.
    int loadMusic(const std::string& filename);
    /// The name the music is found by ("UNDEFINED_MUSIC" until set).
    void setLabel(std::string new_label) { label = std::move(new_label); }
    std::string getLabel() const { return label; }
    /// Sets looping, then starts the stream (a stream that never opened only takes the looping).
    void play(bool loop = true);
    /// Stops the stream.
    void stop();
    /// The stream, for inspection.
    const sf::Music& getMusic() const { return music; }

private:
    sf::Music music;
    std::string label = "UNDEFINED_MUSIC";
};

} // namespace bw
