#include "ResourceManager.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include <fstream>
#include <string>
#include <utility>

namespace bw {

namespace {

// What unloading an unknown label writes, per table.
std::string spriteNotFound(const std::string&) {
    return "WARNING: attempted to unload sprite that doesn't exist";
}
std::string soundNotFound(const std::string& label) {
    return "WARNING: could not find sound \"" + label + "\" to unload";
}
std::string musicNotFound(const std::string& label) {
    return "WARNING: could not find music \"" + label + "\" to unload";
}

} // namespace

ResourceManager& ResourceManager::getInstance() {
    static ResourceManager instance;
    return instance;
}

ResourceManager::ResourceManager()
    : sprites({0, "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded", 1, spriteNotFound}),
      sounds({1, "WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded", 0, soundNotFound}),
      musics({1, "WARNING: Tried to load more music than MAX_MUSICS, music discarded", 0, musicNotFound}) {}

ResourceManager::~ResourceManager() {
    // Silence every voice before any buffer or stream goes away.
    sounds.forEach([](Sound& sound) { sound.stop(); });
    musics.forEach([](Music& music) { music.stop(); });
    sounds.clear();
    musics.clear();
    sprites.clear();
}

int ResourceManager::startUp() {
    sprites.clear();
    LogManager::getInstance().writeLog(2, "Started up ResourceManager");
    return 0;
}

void ResourceManager::shutDown() {}

int ResourceManager::loadSprite(const std::string& filename, const std::string& label) {
    // Binary, so that the reader sees the same line endings on every platform.
    std::ifstream file(filename, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        LogManager::getInstance().writeLog(0, "ERROR: Failed to open sprite file: " + filename);
        return -1;
    }
    std::unique_ptr<Sprite> sprite = SpriteFileReader(file).read(label);
    file.close();
    if (!sprite) return -1;
    // Read to the end first, so a broken file is reported as broken even when the table is full.
    return sprites.add(std::move(sprite)) ? 0 : -1;
}

int ResourceManager::unloadSprite(const std::string& label) { return sprites.remove(label); }

Sprite* ResourceManager::getSprite(const std::string& label) const { return sprites.find(label); }

int ResourceManager::loadSound(const std::string& filename, const std::string& label) {
    // The entry is kept even when its file fails, so lookups by its label still succeed.
    Sound* sound = sounds.addNew(label);
    return sound ? sound->loadSound(filename) : -1;
}

// Deleting a sound or music entry stops it first, so unloading needs no stop of its own.
int ResourceManager::unloadSound(const std::string& label) { return sounds.remove(label); }

Sound* ResourceManager::getSound(const std::string& label) const { return sounds.find(label); }

int ResourceManager::loadMusic(const std::string& filename, const std::string& label) {
    Music* music = musics.addNew(label);
    return music ? music->loadMusic(filename) : -1;
}

int ResourceManager::unloadMusic(const std::string& label) { return musics.remove(label); }

Music* ResourceManager::getMusic(const std::string& label) const { return musics.find(label); }

} // namespace bw
