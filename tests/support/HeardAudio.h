#pragma once

#include "GameAudio.h"

#include <string>
#include <vector>

/// Listens to the game's sound and music requests for its lifetime and keeps them in order, as
/// "sound player-eat", "music title-song" (started) or "stop title-song".
class HeardAudio {
public:
    HeardAudio();
    ~HeardAudio();
    HeardAudio(const HeardAudio&) = delete;
    HeardAudio& operator=(const HeardAudio&) = delete;

    /// Everything heard since the last take(), and forgets it.
    std::vector<std::string> take();
    /// How often a request was heard since the last take().
    int count(const std::string& request) const;
    /// Whether the game asked for this sound since the last take().
    bool played(const std::string& sound) const { return count("sound " + sound) > 0; }
    /// The songs started and not stopped since listening began, in the order they started.
    const std::vector<std::string>& musicPlaying() const { return music; }

private:
    std::vector<std::string> heard;
    std::vector<std::string> music;
};
