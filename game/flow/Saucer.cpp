#include "Saucer.h"

#include "EventOut.h"
#include "EventStep.h"
#include "GameAudio.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Web.h"
#include "WorldManager.h"

#include <cmath>

Saucer::Saucer(bw::Vector target) : target(target) {
    const float frame_time = static_cast<float>(bw::GameManager::getInstance().getFrameTime());
    target_position = Web::getInstance().webToWorld(target);
    setPosition(bw::Vector(target_position.getX(), target_position.getY() - FALL_HEIGHT));
    crashed = false;

    // The arc that would drop FALL_HEIGHT cells in FALL_TIME × F steps: it starts upwards,
    // slows under gravity and comes back down.
    const double flight = static_cast<double>(frame_time * FALL_TIME);
    const double rise = FALL_HEIGHT / flight - (gravity * 0.5 / frame_time) * flight;
    setVelocity(bw::Vector(0, static_cast<float>(rise)));

    setSprite("saucer");
    setSolidness(bw::PASSABLE);
    setAltitude(3);
    setType("Saucer");
    setTargetFlashing(true);
    GameAudio::playSound("saucer-spawn");
}

int Saucer::eventHandler(const bw::Event* event) {
    const std::string type = event->getType();
    if (type == bw::EVENT_TYPE_STEP) {
        const float frame_time = static_cast<float>(bw::GameManager::getInstance().getFrameTime());
        setVelocity(getVelocity() + bw::Vector(0, gravity / frame_time));
        if (!crashed && getPosition().getY() > target_position.getY()) {
            crashed = true;
            setTargetFlashing(false);
            destroyTarget();
            setAltitude(0);
            GameAudio::playSound("saucer-crash");
        }
        return 1;
    }
    if (type == bw::EVENT_TYPE_OUT) {
        // It starts above the window; only a crashed saucer falling out is done.
        if (crashed) bw::WorldManager::getInstance().markForDelete(this);
        return 1;
    }
    return 0;
}

template <typename Visit> void Saucer::forEachZoneString(Visit visit) const {
    const Web& web = Web::getInstance();
    const float x = std::round(target.getX());
    const float y = std::round(target.getY());
    const auto visitInBounds = [&](bw::Vector a, bw::Vector b) {
        if (web.isInBounds(a) && web.isInBounds(b)) visit(a, b);
    };
    // Horizontal strings of the 3 × 3 intersections around the target, then vertical ones.
    for (int i = -1; i <= 0; ++i)
        for (int j = -1; j <= 1; ++j)
            visitInBounds(bw::Vector(x + i, y + j), bw::Vector(x + i + 1, y + j));
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 0; ++j)
            visitInBounds(bw::Vector(x + i, y + j), bw::Vector(x + i, y + j + 1));
}

void Saucer::setTargetFlashing(bool on) {
    forEachZoneString([on](bw::Vector a, bw::Vector b) { Web::getInstance().flashConnection(on, a, b); });
}

void Saucer::destroyTarget() {
    bw::LogManager::getInstance().writeLog(0, "destroyed target");
    forEachZoneString([](bw::Vector a, bw::Vector b) { Web::getInstance().severConnection(a, b); });
}
