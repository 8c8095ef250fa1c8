#include "HeardAudio.h"

#include <algorithm>
#include <utility>

HeardAudio::HeardAudio() {
    GameAudio::setListener([this](GameAudio::Request request, const std::string& label) {
        static const char* const words[] = {"sound ", "music ", "stop "};
        heard.push_back(words[request] + label);
        std::erase(music, label);
        if (request == GameAudio::MUSIC_STARTED) music.push_back(label);
    });
}

HeardAudio::~HeardAudio() { GameAudio::setListener(nullptr); }

std::vector<std::string> HeardAudio::take() { return std::exchange(heard, {}); }

int HeardAudio::count(const std::string& request) const {
    return static_cast<int>(std::count(heard.begin(), heard.end(), request));
}
