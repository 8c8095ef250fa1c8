#include "Sound.h"

#include "LogManager.h"

#include <filesystem>

namespace bw {

Sound::Sound() : sound(buffer) {}

Sound::~Sound() { sound.stop(); }

int Sound::loadSound(const std::string& filename) {
    if (!buffer.loadFromFile(std::filesystem::path(filename))) {
        LogManager::getInstance().writeLog(0, "ERROR: Failed to load sound file " + filename);
        return -1;
    }
    sound.setBuffer(buffer);
    return 0;
}

void Sound::play(bool loop) {
    sound.setLooping(loop);
    sound.play();
}

void Sound::stop() { sound.stop(); }

} // namespace bw
