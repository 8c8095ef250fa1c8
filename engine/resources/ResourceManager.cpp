#include "ResourceManager.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include <fstream>
#include <utility>

namespace bw {

namespace {

// Index of the first entry whose label is exactly label, or -1.
template <typename Entry, std::size_t N>
int findLabel(const std::array<std::unique_ptr<Entry>, N>& table, int count, const std::string& label) {
    for (int i = 0; i < count; ++i)
        if (table[static_cast<std::size_t>(i)]->getLabel() == label) return i;
    return -1;
}

// Deletes entry index and closes the gap, keeping the order of the later entries.
template <typename Entry, std::size_t N>
void removeAt(std::array<std::unique_ptr<Entry>, N>& table, int& count, int index) {
    table[static_cast<std::size_t>(index)].reset();
    for (int i = index; i + 1 < count; ++i)
        table[static_cast<std::size_t>(i)] = std::move(table[static_cast<std::size_t>(i + 1)]);
    table[static_cast<std::size_t>(count - 1)].reset();
    --count;
}

} // namespace

ResourceManager& ResourceManager::getInstance() {
    static ResourceManager instance;
    return instance;
}

ResourceManager::ResourceManager() = default;

ResourceManager::~ResourceManager() {
    // Silence every voice before any buffer or stream goes away.
    for (int i = 0; i < sound_count; ++i) sounds[static_cast<std::size_t>(i)]->stop();
    for (int i = 0; i < music_count; ++i) musics[static_cast<std::size_t>(i)]->stop();
    for (auto& sound : sounds) sound.reset();
    for (auto& music : musics) music.reset();
    for (auto& sprite : sprites) sprite.reset();
}

int ResourceManager::startUp() {
    for (auto& sprite : sprites) sprite.reset();
    sprite_count = 0;
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

    if (sprite_count >= MAX_SPRITES) {
        LogManager::getInstance().writeLog(0, "WARNING: Tried to add sprite over MAX_SPRITES, sprite discarded");
        return -1;
    }
    sprites[static_cast<std::size_t>(sprite_count)] = std::move(sprite);
    ++sprite_count;
    return 0;
}

int ResourceManager::unloadSprite(const std::string& label) {
    const int index = findLabel(sprites, sprite_count, label);
    if (index < 0) {
        LogManager::getInstance().writeLog(1, "WARNING: attempted to unload sprite that doesn't exist");
        return -1;
    }
    removeAt(sprites, sprite_count, index);
    return 0;
}

Sprite* ResourceManager::getSprite(const std::string& label) const {
    const int index = findLabel(sprites, sprite_count, label);
    return index < 0 ? nullptr : sprites[static_cast<std::size_t>(index)].get();
}

int ResourceManager::loadSound(const std::string& filename, const std::string& label) {
    if (sound_count >= MAX_SOUNDS) {
        LogManager::getInstance().writeLog(1, "WARNING: Tried to load more sounds than MAX_SOUNDS, sound discarded");
        return -1;
    }
    // The entry is kept even when its file fails, so lookups by its label still succeed.
    auto& slot = sounds[static_cast<std::size_t>(sound_count)];
    slot = std::make_unique<Sound>();
    ++sound_count;
    slot->setLabel(label);
    return slot->loadSound(filename);
}

int ResourceManager::unloadSound(const std::string& label) {
    const int index = findLabel(sounds, sound_count, label);
    if (index < 0) {
        LogManager::getInstance().writeLog(0, "WARNING: could not find sound \"" + label + "\" to unload");
        return -1;
    }
    sounds[static_cast<std::size_t>(index)]->stop();
    removeAt(sounds, sound_count, index);
    return 0;
}

Sound* ResourceManager::getSound(const std::string& label) const {
    const int index = findLabel(sounds, sound_count, label);
    return index < 0 ? nullptr : sounds[static_cast<std::size_t>(index)].get();
}

int ResourceManager::loadMusic(const std::string& filename, const std::string& label) {
    if (music_count >= MAX_MUSICS) {
        LogManager::getInstance().writeLog(1, "WARNING: Tried to load more music than MAX_MUSICS, music discarded");
        return -1;
    }
    auto& slot = musics[static_cast<std::size_t>(music_count)];
    slot = std::make_unique<Music>();
    ++music_count;
    slot->setLabel(label);
    return slot->loadMusic(filename);
}

int ResourceManager::unloadMusic(const std::string& label) {
    const int index = findLabel(musics, music_count, label);
    if (index < 0) {
        LogManager::getInstance().writeLog(0, "WARNING: could not find music \"" + label + "\" to unload");
        return -1;
    }
    musics[static_cast<std::size_t>(index)]->stop();
    removeAt(musics, music_count, index);
    return 0;
}

Music* ResourceManager::getMusic(const std::string& label) const {
    const int index = findLabel(musics, music_count, label);
    return index < 0 ? nullptr : musics[static_cast<std::size_t>(index)].get();
}

} // namespace bw
