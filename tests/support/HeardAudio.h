#pragma once

#include "GameAudio.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

/// Listens to the game's sound and music requests for its lifetime and keeps them in order, as
/// "sound player-eat", "music title-song" (started) or "stop title-song".
class HeardAudio {
public:
    HeardAudio() {
        GameAudio::setListener([this](GameAudio::Request request, const std::string& label) {
            static const char* const words[] = {"sound ", "music ", "stop "};
            heard.push_back(words[request] + label);
            std::erase(music, label);
            if (request == GameAudio::MUSIC_STARTED) music.push_back(label);
        });
    }
    ~HeardAudio() { GameAudio::setListener(nullptr); }
    HeardAudio(const HeardAudio&) = delete;
    HeardAudio& operator=(const HeardAudio&) = delete;

    /// Everything heard since the last take(), and forgets it.
    std::vector<std::string> take() { return std::exchange(heard, {}); }
    /// How often a request was heard since the last take().
    int count(const std::string& request) const { return static_cast<int>(std::ranges::count(heard, request)); }
    /// Whether the game asked for this sound since the last take().
    bool played(const std::string& sound) const { return count("sound " + sound) > 0; }
    /// The songs started and not stopped since listening began, in the order they started.
    const std::vector<std::string>& musicPlaying() const { return music; }

private:
    std::vector<std::string> heard;
    std::vector<std::string> music;
};
