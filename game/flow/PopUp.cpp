#include "PopUp.h"

#include "DisplayManager.h"
#include "EventOut.h"
#include "EventStep.h"
#include "GameManager.h"
#include "WorldManager.h"

#include <utility>

PopUp::PopUp(bw::Vector position, std::string text, bw::Color color)
    : lifetime(static_cast<int>(bw::GameManager::getInstance().getFrameTime() * 0.75)),
      rise_speed(static_cast<float>(10.0 / bw::GameManager::getInstance().getFrameTime())),
      text(std::move(text)), color(color) {
    setType("PopUp");
    setSolidness(bw::INTANGIBLE);
    setAltitude(4);
    setPosition(position);
}

int PopUp::eventHandler(const bw::Event* event) {
    if (event->getType() == bw::EVENT_TYPE_OUT) {
        bw::WorldManager::getInstance().markForDelete(this);
        return 0;
    }
    if (event->getType() != bw::EVENT_TYPE_STEP) return 0;

    --lifetime;
    // Moved by hand rather than by velocity: the world manager would shrink the vertical
    // motion to the cell aspect, and an object that is not moved by it gets no out event.
    setPosition(getPosition() + bw::Vector(0, -rise_speed));
    if (lifetime > 0) {
        rise_speed = static_cast<float>(static_cast<double>(rise_speed) * 0.8);
    } else if (lifetime == 0) {
        rise_speed = -rise_speed;
    } else {
        rise_speed = static_cast<float>(static_cast<double>(rise_speed) * 1.2);
    }

    bw::WorldManager& world = bw::WorldManager::getInstance();
    if (world.isOutOfWindow(this, getPosition())) world.markForDelete(this);
    return 1;
}

int PopUp::draw() {
    return bw::DisplayManager::getInstance().drawString(getPosition(), text, color, bw::CENTER_JUSTIFIED);
}
