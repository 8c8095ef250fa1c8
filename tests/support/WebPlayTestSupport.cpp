#include "WebPlayTestSupport.h"

#include "EventStep.h"
#include "PopUp.h"
#include "ResourceEntry.h"

void loadWebPlaySprites() {
    for (const ResourceEntry& entry : GAME_RESOURCES) if (entry.kind == SPRITE) loadGameSprite(entry.label);
}

void restartWorld() {
    bw::WorldManager::getInstance().shutDown();
    bw::WorldManager::getInstance().startUp();
    Web::getInstance().reset();
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

std::set<WebString> webStrings(bool blinking) {
    const Web& web = Web::getInstance();
    const auto masks = blinking ? &Web::getFlashing : &Web::getConnections;
    const auto bits = [&](int x, int y) { return (web.*masks)(bw::Vector(x, y)); };
    std::set<WebString> found;
    for (int y = 0; y < Web::ROWS; ++y)
        for (int x = 0; x < Web::COLUMNS; ++x) {
            if (x + 1 < Web::COLUMNS && (bits(x, y) & RIGHT) && (bits(x + 1, y) & LEFT)) found.insert({x, y, x + 1, y});
            if (y + 1 < Web::ROWS && (bits(x, y) & DOWN) && (bits(x, y + 1) & UP)) found.insert({x, y, x, y + 1});
        }
    return found;
}

void severStrings(const std::function<bool(bw::Vector)>& at) {
    for (int y = 0; y < Web::ROWS; ++y)
        for (int x = 0; x < Web::COLUMNS; ++x)
            if (const bw::Vector c(x, y); !at || at(c)) Web::getInstance().removeOnIntersection(c, UP | RIGHT | DOWN | LEFT);
}

std::vector<PopUpSighting> takePopUps() {
    std::vector<PopUpSighting> found;
    for (bw::Object* object : bw::WorldManager::getInstance().objectsOfType("PopUp")) {
        const auto* popup = static_cast<const PopUp*>(object);
        found.push_back({popup->getText(), popup->getPosition(), popup->getColor()});
        delete popup;
    }
    return found;
}
