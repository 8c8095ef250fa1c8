#include "Music.h"

#include "LogManager.h"

#include <filesystem>

namespace bw {

int Music::loadMusic(const std::string& filename) {
    if (!music.openFromFile(std::filesystem::path(filename)))
        LogManager::getInstance().writeLog(0, "ERROR: Failed to open music file " + filename);
    return 0;
}

void Music::play(bool loop) {
    // A stream that never opened has nothing to read; SFML would abort in its streaming thread.
    if (music.getChannelCount() == 0) return;
    music.setLooping(loop);
    music.play();
}

void Music::stop() { music.stop(); }

} // namespace bw
