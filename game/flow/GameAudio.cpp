#include "GameAudio.h"

#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"

#include <utility>

namespace {
GameAudio::Listener& listener() {
    static GameAudio::Listener instance;
    return instance;
}
} // namespace

void GameAudio::playSound(const std::string& label) {
    tell(SOUND_PLAYED, label);
    if (bw::Sound* sound = bw::ResourceManager::getInstance().getSound(label)) sound->play(false);
}

void GameAudio::playMusic(const std::string& label) {
    tell(MUSIC_STARTED, label);
    if (bw::Music* music = bw::ResourceManager::getInstance().getMusic(label)) music->play(true);
}

void GameAudio::stopMusic(const std::string& label) {
    tell(MUSIC_STOPPED, label);
    if (bw::Music* music = bw::ResourceManager::getInstance().getMusic(label)) music->stop();
}

void GameAudio::setListener(Listener new_listener) { listener() = std::move(new_listener); }

void GameAudio::tell(Request request, const std::string& label) {
    if (listener()) listener()(request, label);
}
