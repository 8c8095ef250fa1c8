#include "ReferenceScreens.h"

#include "ResourceEntry.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "Web.h"

#include <filesystem>

namespace {

const std::string GAME_FONT = std::string(TARNWICK_RUN_DIR) + "/" + GAME_FONT_FILE;

// The sprites the screens show, by the game's labels.
constexpr const char* SPRITES[] = {"player-right", "enemy-right", "enemy-left",       "enemy-up", "enemy-down", "silk-shot-right",
                                   "fly-intro",    "fly-twitch",  "silk-counter-spr", "saucer",   "title-text"};

// The file the game loads a sprite from, in the checkout's data folder.
std::string spriteFile(const std::string& label) {
    for (const ResourceEntry& entry : GAME_RESOURCES)
        if (entry.kind == SPRITE && label == entry.label) return std::string(TARNWICK_SOURCE_DIR) + "/data/" + entry.file;
    return "(no file for " + label + ")";
}

// Web coordinate to world cells, as the web places its intersections.
bw::Vector at(float column, float row) { return Web::getInstance().webToWorld(bw::Vector(column, row)); }

void drawSpriteFrame(const std::string& label, int frame, bw::Vector position) {
    if (const bw::Sprite* sprite = bw::ResourceManager::getInstance().getSprite(label))
        sprite->draw(frame, position);
}

} // namespace

bool ReferenceScreens::load() {
    bw::ResourceManager& resources = bw::ResourceManager::getInstance();
    for (const char* label : SPRITES) {
        if (resources.getSprite(label) != nullptr) continue;
        if (resources.loadSprite(spriteFile(label), label) != 0) {
            problem = "cannot load " + spriteFile(label);
            return false;
        }
    }
    if (!std::filesystem::exists(GAME_FONT)) {
        problem = "no game font at " + GAME_FONT + " (build the run folder first)";
        return false;
    }
    bw::DisplayManager::getInstance().openFont(GAME_FONT);
    return true;
}

void ReferenceScreens::drawFullScreen() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const char unusual[] = {' ', '\t', '\r', '\n', '\0', '\x7f', '\xb0', '\xe9', '\x01'};
    int cell = 0;
    for (int row = 0; row < display.getVertical(); ++row) {
        for (int column = 0; column < display.getHorizontal(); ++column, ++cell) {
            char ch = static_cast<char>('!' + (cell * 7) % 94);
            if (cell % 97 == 13) ch = unusual[(cell / 97) % sizeof unusual];
            const float alpha = cell % 11 == 5 ? 0.6f : 1.0f;
            const bw::Color color((cell * 37) % 256, (cell * 91 + 60) % 256, (cell * 53 + 120) % 256, alpha);
            display.drawCh(bw::Vector(static_cast<float>(column), static_cast<float>(row)), ch, color);
        }
    }
}

void ReferenceScreens::drawTitleScreen() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const float h = static_cast<float>(display.getHorizontal());
    const float v = static_cast<float>(display.getVertical());
    drawSpriteFrame("title-text", 0, bw::Vector(h * 0.5f + 2.0f, v * 0.5f - 4.0f));
    const bw::Color controls("0x2E86AB", 1.0f);
    const bw::Color prompt("0xF24236", 1.0f);
    const bw::Color instructions("0xFFFFFF", 1.0f);
    display.drawString(bw::Vector(5, v * 0.5f + 5), "WASD - move.", controls, bw::LEFT_JUSTIFIED);
    display.drawString(bw::Vector(h - 5, v * 0.5f + 5), "ESC - exit.", controls, bw::RIGHT_JUSTIFIED);
    display.drawString(bw::Vector(h * 0.5f, v * 0.5f + 5), "< W to Start >", prompt, bw::CENTER_JUSTIFIED);
    display.drawString(bw::Vector(h * 0.5f, v * 0.5f + 7), "Eat flies to charge silk shot.", instructions,
                       bw::CENTER_JUSTIFIED);
    display.drawString(bw::Vector(h * 0.5f, v * 0.5f + 8), "Bounce off screen edge to fire silk shot.",
                       instructions, bw::CENTER_JUSTIFIED);
    display.drawString(bw::Vector(h * 0.5f, v * 0.5f + 9), "Silk shot repairs broken strings and kills enemies.",
                       instructions, bw::CENTER_JUSTIFIED);
    display.drawString(bw::Vector(h * 0.5f, v * 0.5f + 10), "Don't fall off the web!", instructions,
                       bw::CENTER_JUSTIFIED);
}

const std::vector<ReferenceScreens::Actor>& ReferenceScreens::playActors() {
    static const std::vector<Actor> actors = {
        {"fly-twitch", 0, at(0, 2) + bw::Vector(0, 2)},
        {"fly-twitch", 1, at(2, 0) + bw::Vector(4, 0)},
        {"fly-twitch", 2, at(3, 5) + bw::Vector(-5, 0)},
        {"fly-twitch", 3, at(7, 1) + bw::Vector(0, 2)},
        {"fly-intro", 2, at(5, 4) + bw::Vector(3, 0)},
        {"fly-intro", 5, at(6, 2) + bw::Vector(0, -1)},
        {"player-right", 0, at(3, 2) + bw::Vector(2.5f, 0)},
        {"silk-shot-right", 1, at(1, 2) + bw::Vector(4, 0)},
        {"enemy-down", 1, at(1, 1)},
        {"enemy-left", 0, at(5, 1) + bw::Vector(-3, 0)},
        {"enemy-up", 2, at(6, 3) + bw::Vector(0, 0.6f)},
        {"enemy-right", 1, at(2, 4) + bw::Vector(3, 0)},
        {"enemy-down", 3, at(4, 3) + bw::Vector(0, 1)},
        // Two spiders meeting: the later one covers part of the earlier one.
        {"enemy-left", 1, at(4, 3) + bw::Vector(2, 1.5f)},
        {"saucer", 1, bw::Vector(52.5f, 9.3f)},
        {"silk-counter-spr", 3, bw::Vector(7, 21)},
    };
    return actors;
}

const std::vector<ReferenceScreens::Label>& ReferenceScreens::playLabels() {
    const bw::Color points("0xE36397", 1.0f);
    const bw::Color kill_points("0xF24236", 1.0f);
    static const std::vector<Label> labels = {
        {"SCORE: 12450", bw::Vector(78, 22), points, bw::RIGHT_JUSTIFIED},
        {"+50", bw::Vector(78, 20.6f), points, bw::CENTER_JUSTIFIED},
        {"50", at(0, 2) + bw::Vector(0, 0.7f), points, bw::CENTER_JUSTIFIED},
        {"200", bw::Vector(30.2f, 7.6f), kill_points, bw::CENTER_JUSTIFIED},
        {"500", bw::Vector(45.5f, 15.2f), kill_points, bw::CENTER_JUSTIFIED},
    };
    return labels;
}

void ReferenceScreens::preparePlayWeb() {
    Web& web = Web::getInstance();
    web.reset();
    web.severConnection(bw::Vector(3, 2), bw::Vector(4, 2));
    web.severConnection(bw::Vector(5, 3), bw::Vector(5, 4));
    web.severConnection(bw::Vector(1, 4), bw::Vector(2, 4));
}

void ReferenceScreens::drawPlayScreen() {
    Web::getInstance().draw();
    for (const Actor& actor : playActors()) drawSpriteFrame(actor.sprite, actor.frame, actor.position);
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    for (const Label& label : playLabels())
        display.drawString(label.position, label.text, label.color, label.justification);
}
