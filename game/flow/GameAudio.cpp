#include "GameAudio.h"

#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"

void GameAudio::playSound(const std::string& label) {
    if (bw::Sound* sound = bw::ResourceManager::getInstance().getSound(label)) sound->play(false);
}

void GameAudio::playMusic(const std::string& label) {
    if (bw::Music* music = bw::ResourceManager::getInstance().getMusic(label)) music->play(true);
}

void GameAudio::stopMusic(const std::string& label) {
    if (bw::Music* music = bw::ResourceManager::getInstance().getMusic(label)) music->stop();
}
