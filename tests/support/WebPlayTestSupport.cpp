#include "WebPlayTestSupport.h"

#include "EventStep.h"
#include "PopUp.h"
#include "ResourceManager.h"
#include "ResourceTestSupport.h"
#include "Sound.h"
#include "Web.h"
#include "WorldManager.h"

#include <SFML/Audio/SoundSource.hpp>

void loadWebPlaySprites() {
    const std::string dir = std::string(TARNWICK_SOURCE_DIR) + "/data/Sprites/";
    const std::vector<std::pair<std::string, std::string>> sprites = {
        {"spider-right.txt", "player-right"},       {"spider-left.txt", "player-left"},
        {"spider-up.txt", "player-up"},             {"spider-down.txt", "player-down"},
        {"spider-fall.txt", "player-fall"},         {"silk-shot-right.txt", "silk-shot-right"},
        {"silk-shot-left.txt", "silk-shot-left"},   {"silk-shot-up.txt", "silk-shot-up"},
        {"silk-shot-down.txt", "silk-shot-down"},   {"silk-counter.txt", "silk-counter-spr"},
    };
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    for (const auto& [file, label] : sprites)
        if (!resources.getSprite(label)) resources.loadSprite(dir + file, label);
}

void loadCueSounds(const std::filesystem::path& dir, const std::vector<std::string>& labels) {
    const std::filesystem::path tone = dir / "cue.wav";
    // Two seconds, so that a cue is still playing when the test looks.
    if (!std::filesystem::exists(tone)) writeToneWav(tone, 16000);
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    for (const std::string& label : labels)
        if (!resources.getSound(label)) resources.loadSound(tone.string(), label);
}

bool cueIsPlaying(const std::string& label) {
    const bw::Sound* sound = bw::ResourceManager::getInstance().getSound(label);
    return sound && sound->getSound().getStatus() == sf::SoundSource::Status::Playing;
}

void stopCues(const std::vector<std::string>& labels) {
    for (const std::string& label : labels)
        if (bw::Sound* sound = bw::ResourceManager::getInstance().getSound(label)) sound->stop();
}

bool cuesObservable() {
    const std::string probe = "web-play-probe";
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    bw::Sound* sound = resources.getSound(probe);
    if (!sound) {
        const std::filesystem::path tone = std::filesystem::temp_directory_path() / "web-play-probe.wav";
        writeToneWav(tone, 16000);
        resources.loadSound(tone.string(), probe);
        sound = resources.getSound(probe);
    }
    if (!sound) return false;
    sound->play(false);
    const bool playing = sound->getSound().getStatus() == sf::SoundSource::Status::Playing;
    sound->stop();
    return playing;
}

void broadcastStep(int step_count) {
    const bw::EventStep step(step_count);
    // Objects created during the broadcast hear the next step, as in the game loop.
    const bw::ObjectList objects = bw::WorldManager::getInstance().getAllObjects();
    for (bw::Object* object : objects) object->eventHandler(&step);
}

void stepWorld(int step_count) {
    broadcastStep(step_count);
    bw::WorldManager::getInstance().update();
}

int sendKey(bw::Object* object, bw::Key key, bw::KeyboardAction action) {
    const bw::EventKeyboard event(key, action);
    return object->eventHandler(&event);
}

int countIntactStrings() {
    const Web& web = Web::getInstance();
    int count = 0;
    for (int row = 0; row < Web::ROWS; ++row) {
        for (int column = 0; column < Web::COLUMNS; ++column) {
            const bw::Vector here(static_cast<float>(column), static_cast<float>(row));
            // Each string once: from its left or upper end.
            if (column + 1 < Web::COLUMNS && (web.getConnections(here) & RIGHT) &&
                (web.getConnections(here + bw::Vector(1, 0)) & LEFT))
                ++count;
            if (row + 1 < Web::ROWS && (web.getConnections(here) & DOWN) &&
                (web.getConnections(here + bw::Vector(0, 1)) & UP))
                ++count;
        }
    }
    return count;
}

void severEverything() {
    Web& web = Web::getInstance();
    for (int row = 0; row < Web::ROWS; ++row) {
        for (int column = 0; column < Web::COLUMNS; ++column) {
            const bw::Vector here(static_cast<float>(column), static_cast<float>(row));
            if (column + 1 < Web::COLUMNS) web.severConnection(here, here + bw::Vector(1, 0));
            if (row + 1 < Web::ROWS) web.severConnection(here, here + bw::Vector(0, 1));
        }
    }
}

std::vector<PopUpSighting> PopUpWatcher::newPopUps() {
    std::vector<PopUpSighting> found;
    for (bw::Object* object : bw::WorldManager::getInstance().objectsOfType("PopUp")) {
        if (!seen.insert(object).second) continue;
        const auto* popup = static_cast<const PopUp*>(object);
        found.push_back({popup->getText(), popup->getPosition(), popup->getColor()});
    }
    return found;
}
