#include "EnemyTestSupport.h"

#include "EventStep.h"
#include "ResourceManager.h"
#include "ResourceTestSupport.h"
#include "Sound.h"
#include "Web.h"
#include "WorldManager.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

std::string spriteFileText(int frames, int width, int height, int slowdown, char ch) {
    std::string text = "frames " + std::to_string(frames) + "\nwidth " + std::to_string(width) + "\nheight " +
                       std::to_string(height) + "\ndefault_color #FFFFFF\ndefault_slowdown " +
                       std::to_string(slowdown) + "\n<BODY>\n";
    for (int frame = 0; frame < frames; ++frame) {
        for (int row = 0; row < height; ++row) text += std::string(static_cast<std::size_t>(width), ch) + "\n";
        text += "end\n";
    }
    return text + "</BODY>\n";
}

namespace {

bool loadWrittenSprite(const std::string& label, const std::string& file_text) {
    const std::string file_name = "test-sprite-" + label + ".txt";
    {
        std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
        file << file_text;
    }
    return bw::ResourceManager::getInstance().loadSprite(file_name, label) == 0;
}

} // namespace

bool ensureGameSprite(const std::string& label, const std::string& file_name, const std::string& fallback_text) {
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    if (resources.getSprite(label)) return true;
    const std::filesystem::path real = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data" / "Sprites" / file_name;
    if (std::filesystem::exists(real) && resources.loadSprite(real.string(), label) == 0) return true;
    return loadWrittenSprite(label, fallback_text);
}

bool replaceSprite(const std::string& label, const std::string& file_text) {
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    while (resources.getSprite(label)) resources.unloadSprite(label);
    return loadWrittenSprite(label, file_text);
}

void runLoopStep(int step_count) {
    const bw::EventStep step(step_count);
    const bw::ObjectList objects = bw::WorldManager::getInstance().getAllObjects();
    for (bw::Object* object : objects) object->eventHandler(&step);
    bw::WorldManager::getInstance().update();
}

namespace {

std::set<WebString> stringsWhere(std::uint32_t (Web::*masks)(bw::Vector) const) {
    const Web& web = Web::getInstance();
    std::set<WebString> found;
    for (int y = 0; y < Web::ROWS; ++y) {
        for (int x = 0; x < Web::COLUMNS; ++x) {
            const std::uint32_t here = (web.*masks)(bw::Vector(x, y));
            if (x + 1 < Web::COLUMNS && (here & RIGHT) && ((web.*masks)(bw::Vector(x + 1, y)) & LEFT))
                found.insert({x, y, x + 1, y});
            if (y + 1 < Web::ROWS && (here & DOWN) && ((web.*masks)(bw::Vector(x, y + 1)) & UP))
                found.insert({x, y, x, y + 1});
        }
    }
    return found;
}

} // namespace

std::set<WebString> intactStrings() { return stringsWhere(&Web::getConnections); }

std::set<WebString> blinkingStrings() { return stringsWhere(&Web::getFlashing); }

void severAllStrings() {
    Web& web = Web::getInstance();
    for (const WebString& s : intactStrings())
        web.severConnection(bw::Vector(s.x1, s.y1), bw::Vector(s.x2, s.y2));
}

void severAround(bw::Vector c) {
    Web& web = Web::getInstance();
    for (const bw::Vector offset : {bw::Vector(0, -1), bw::Vector(1, 0), bw::Vector(0, 1), bw::Vector(-1, 0)})
        if (web.isInBounds(c + offset)) web.severConnection(c, c + offset);
}

bool prepareToneSound(const std::string& label) {
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    if (!resources.getSound(label)) {
        const std::string file_name = "test-tone-" + label + ".wav";
        if (!writeToneWav(file_name, 80000) || resources.loadSound(file_name, label) != 0) return false;
    }
    bw::Sound* sound = resources.getSound(label);
    if (!sound) return false;
    sound->stop();
    return true;
}

bool isSoundPlaying(const std::string& label) {
    const bw::Sound* sound = bw::ResourceManager::getInstance().getSound(label);
    return sound && sound->getSound().getStatus() == sf::Sound::Status::Playing;
}
