#pragma once

#include "LabelledTable.h"
#include "Manager.h"

#include <string>

namespace bw {

class Sprite;
class Sound;
class Music;

constexpr int MAX_SPRITES = 1000;
constexpr int MAX_SOUNDS = 192;
constexpr int MAX_MUSICS = 64;

/// Owns the labelled sprites, sounds and music. Its tables are ready from construction; nothing
/// needs to start it.
class ResourceManager : public Manager {
public:
    /// The one resource manager, created on first use.
    static ResourceManager& getInstance();
    /// Stops every sound and music, then deletes all entries.
    ~ResourceManager() override;

    /// Deletes every sprite, sets the sprite count to 0 and logs "Started up ResourceManager"
    /// (level 2); sounds and music stay. The started flag is not set.
    int startUp() override;
    /// Does nothing.
    void shutDown() override;

    /// Reads a sprite file. 0 when the sprite was added; -1 with an error line otherwise (the
    /// table is then unchanged).
    int loadSprite(const std::string& filename, const std::string& label);
    /// Deletes the first sprite with label. -1 with a warning when there is none.
    int unloadSprite(const std::string& label);
    /// The first sprite with exactly this label, null when none (no log line).
    Sprite* getSprite(const std::string& label) const;
    /// Sprites in the table.
    int getSpriteCount() const { return sprites.getCount(); }

    /// Adds a sound entry and loads its file: the entry stays (silent) when the file fails.
    /// -1 when the file failed or the table is full.
    int loadSound(const std::string& filename, const std::string& label);
    /// Stops and deletes the first sound with label; later entries move up. -1 with a warning
    /// when there is none.
    int unloadSound(const std::string& label);
    /// The first sound with exactly this label, null when none (no log line).
    Sound* getSound(const std::string& label) const;
    /// Sound entries in the table.
    int getSoundCount() const { return sounds.getCount(); }

    /// Adds a music entry and opens its file; 0 even when the file fails, -1 when full.
    int loadMusic(const std::string& filename, const std::string& label);
    /// Stops and deletes the first music with label; later entries move up. -1 with a warning
    /// when there is none.
    int unloadMusic(const std::string& label);
    /// The first music with exactly this label, null when none (no log line).
    Music* getMusic(const std::string& label) const;
    /// Music entries in the table.
    int getMusicCount() const { return musics.getCount(); }

private:
    ResourceManager();

    LabelledTable<Sprite, MAX_SPRITES> sprites;
    LabelledTable<Sound, MAX_SOUNDS> sounds;
    LabelledTable<Music, MAX_MUSICS> musics;
};

} // namespace bw
