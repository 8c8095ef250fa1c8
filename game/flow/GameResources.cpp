#include "GameResources.h"

#include "DisplayManager.h"
#include "ResourceEntry.h"
#include "ResourceManager.h"

void loadResources() {
    bw::DisplayManager::getInstance().openFont(GAME_FONT_FILE);

    // Each failure is logged by the resource manager; the remaining files still load.
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    for (const ResourceEntry& entry : GAME_RESOURCES) {
        switch (entry.kind) {
        case SPRITE: resources.loadSprite(entry.file, entry.label); break;
        case SOUND: resources.loadSound(entry.file, entry.label); break;
        case MUSIC: resources.loadMusic(entry.file, entry.label); break;
        }
    }
}
