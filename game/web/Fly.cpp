#include "Fly.h"

#include "Color.h"
#include "EventCollision.h"
#include "EventStep.h"
#include "GameAudio.h"
#include "GameManager.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include <cmath>
#include <cstdlib>

namespace {
const std::string PLAYER_TYPE = "Player";
}

Fly::Fly() {
    anchor = Web::getInstance().getRandomStringPosition(false);
    setPosition(anchor);
    setType("Fly");
    intro = true;
    setSolidness(bw::INTANGIBLE);
    // With no string left to stick to, the fly only waits for its first step to remove itself.
    if (anchor == NO_POSITION) return;
    setSprite("fly-intro");
    GameAudio::playSound("fly-intro");
}

int Fly::eventHandler(const bw::Event* event) {
    if (event->getType() == bw::EVENT_TYPE_STEP) {
        if (anchor == NO_POSITION) {
            bw::WorldManager::getInstance().markForDelete(this);
            return 0;
        }
        const int step_count = static_cast<const bw::EventStep*>(event)->getStepCount();
        if (birth_step < 0) birth_step = step_count - 1;
        const int age = step_count - birth_step;
        if (intro) {
            // A missing or empty intro sprite counts as one step long, so the fly still
            // becomes edible.
            const bw::Sprite* sprite = getSprite();
            const int intro_length = sprite && sprite->getTotalSlowdown() > 0 ? sprite->getTotalSlowdown() : 1;
            if (age < intro_length) return 0;
            endIntro();
            return 1;
        }
        twitch(age);
        return 0;
    }
    if (event->getType() == bw::EVENT_TYPE_COLLISION) {
        const auto* collision = static_cast<const bw::EventCollision*>(event);
        const bw::Object* first = collision->getObject1();
        const bw::Object* second = collision->getObject2();
        if ((first && first->getType() == PLAYER_TYPE) || (second && second->getType() == PLAYER_TYPE)) {
            eaten();
            return 1;
        }
    }
    return 0;
}

void Fly::endIntro() {
    intro = false;
    setSolidness(bw::PASSABLE);
    setSprite("fly-twitch");
}

void Fly::twitch(int age) {
    const double angle = (std::rand() % 360) * 0.0174532925;
    bw::Vector offset(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)));
    // The reach changes once per frame-time steps and is 0 for the first of them.
    const int period = age / bw::GameManager::getInstance().getFrameTime();
    const float amplitude = static_cast<float>(std::sin(2.0 * period) * 0.1);
    offset.scale(amplitude);
    setPosition(anchor + offset);
}

void Fly::eaten() {
    SilkCounter& silk = SilkCounter::getInstance();
    const bool was_charged = silk.isCharged();
    silk.addCharge();
    const bool now_charged = silk.isCharged();
    ScoreCounter::getInstance().addPoints(points, getPosition(), bw::Color("0xE36397", 1.0f),
                                          was_charged != now_charged);
    bw::WorldManager::getInstance().markForDelete(this);
}
