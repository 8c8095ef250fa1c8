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
    music.setLooping(loop);
    // A stream that never opened has nothing to read: playing it would abort SFML's streaming
    // thread, so it stays silent.
    if (music.getChannelCount() == 0) return;
    music.play();
}

void Music::stop() { music.stop(); }

} // namespace bw
