#include "SilkShot.h"

#include "Color.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "ScoreCounter.h"
#include "Web.h"
#include "WorldManager.h"

#include <string>

namespace {

const std::string SPIDER_TYPE = "GiantEnemySpider";

bool isSpider(const bw::Object* object) { return object && object->getType() == SPIDER_TYPE; }

} // namespace

SilkShot::SilkShot(std::uint32_t direction) {
    setAltitude(2);
    setSolidness(bw::PASSABLE);
    setDirection(Web::directionToOffset(direction));
    setType("SilkShot");
    setSpeed(2.0f);
    switch (direction) {
    case UP: setSprite("silk-shot-up"); break;
    case RIGHT: setSprite("silk-shot-right"); break;
    case DOWN: setSprite("silk-shot-down"); break;
    case LEFT: setSprite("silk-shot-left"); break;
    default: break;
    }
}

void SilkShot::fireFrom(bw::Vector position) {
    setPosition(position);
    // The shot moves in the update that follows the step it was fired in, before it hears a
    // step itself; tracking from here keeps that first move from skipping the border
    // intersection.
    crossedIntersection();
}

int SilkShot::eventHandler(const bw::Event* event) {
    const std::string type = event->getType();
    if (type == bw::EVENT_TYPE_STEP) return onStep();
    if (type == bw::EVENT_TYPE_COLLISION) return onCollision(static_cast<const bw::EventCollision*>(event));
    if (type == bw::EVENT_TYPE_OUT) bw::WorldManager::getInstance().markForDelete(this);
    return 0;
}

int SilkShot::onStep() {
    const bw::Vector c = crossedIntersection();
    if (c == NO_POSITION) return 1;
    Web& web = Web::getInstance();
    const bw::Vector n = c + getDirection();
    // Past the far border there is no string to restore; asking would only leave a stray
    // string end pointing out of the window.
    if (!web.isInBounds(c) || !web.isInBounds(n)) return 1;
    if (web.repairConnection(c, n) != 1) return 1;

    ++repairs;
    bw::Vector half = n - c;
    half.scale(0.5f);
    ScoreCounter::getInstance().addPoints((repairs + 1) * 100, web.webToWorld(c + half),
                                          bw::Color(255, 255, 255, 1.0f), false);
    return 1;
}

int SilkShot::onCollision(const bw::EventCollision* collision) {
    const bw::Object* spider = nullptr;
    if (isSpider(collision->getObject1())) spider = collision->getObject1();
    else if (isSpider(collision->getObject2())) spider = collision->getObject2();
    if (!spider) return 0;

    // The spider does its own dying; the shot flies on.
    ++kills;
    ScoreCounter::getInstance().addPoints(kills * 150 + 100, spider->getPosition(),
                                          bw::Color("0xF24236", 1.0f), false);
    return 1;
}
