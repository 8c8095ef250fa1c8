#include "GiantEnemySpider.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "GameAudio.h"
#include "GameManager.h"
#include "Web.h"
#include "WorldManager.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

std::time_t calendarSeconds() { return std::time(nullptr); }
GiantEnemySpider::SeedClock seed_clock = calendarSeconds;

bool isKiller(const bw::Object* object) {
    return object && (object->getType() == "Saucer" || object->getType() == "SilkShot");
}

bw::Vector reversed(bw::Vector v) { return bw::Vector(-v.getX(), -v.getY()); }

} // namespace

GiantEnemySpider::GiantEnemySpider() {
    setType("GiantEnemySpider");
    setSolidness(bw::PASSABLE);
    setAltitude(1);
    setSpeed(0);

    Web& web = Web::getInstance();
    current_intersection = web.getRandomEdgeIntersection();
    if (current_intersection == NO_POSITION) {
        // No border string to climb in by: it stays out of play and removes itself at its
        // first step.
        setSolidness(bw::INTANGIBLE);
        return;
    }

    const float x = current_intersection.getX();
    const float y = current_intersection.getY();
    bw::Vector outward(0, 1);
    if (x <= 0) outward = bw::Vector(-1, 0);
    else if (y <= 0) outward = bw::Vector(0, -1);
    else if (x >= Web::LAST_COLUMN) outward = bw::Vector(1, 0);

    // One spacing outside the window, facing its anchor.
    setPosition(web.webToWorld(current_intersection + outward));
    setDirection(reversed(outward));
    face(getDirection());
    setSpeed(walk_speed);
    state = WALKING;
    GameAudio::playSound("enemy-spawn");
}

int GiantEnemySpider::eventHandler(const bw::Event* event) {
    const std::string type = event->getType();
    if (current_intersection == NO_POSITION) {
        if (type == bw::EVENT_TYPE_STEP) {
            bw::WorldManager::getInstance().markForDelete(this);
            return 1;
        }
        return 0;
    }
    if (type == bw::EVENT_TYPE_STEP) return onStep();
    if (type == bw::EVENT_TYPE_COLLISION) {
        const auto* collision = static_cast<const bw::EventCollision*>(event);
        if (state != DYING && (isKiller(collision->getObject1()) || isKiller(collision->getObject2())))
            setState(DYING);
        return 0;
    }
    if (type == bw::EVENT_TYPE_OUT) {
        // A living spider starts outside the window and walks in; only a dead one is done.
        if (state == DYING) bw::WorldManager::getInstance().markForDelete(this);
        return 0;
    }
    return 0;
}

int GiantEnemySpider::onStep() {
    if (state == DYING) {
        const float fall = static_cast<float>(3.0 / bw::GameManager::getInstance().getFrameTime());
        setVelocity(getVelocity() + bw::Vector(0, fall));
        face(bw::Vector(0, getVelocity().getY()));
        return 1;
    }

    if (timer > 0) {
        --timer;
        if (timer == 0) {
            if (state == WAITING) {
                chooseNextMove(current_intersection);
            } else if (state == SEVERING) {
                Web& web = Web::getInstance();
                web.severConnection(current_intersection, current_intersection + heading);
                web.flashConnection(false, current_intersection, current_intersection + heading);
                setState(WAITING);
            }
        }
        if (state != WALKING) return 1;
    }

    const bw::Vector c = crossedIntersection();
    if (c == NO_POSITION || c == current_intersection) return 1;
    current_intersection = c;

    if (Web::isInterior(c)) {
        // Stops where it is, just past the intersection.
        setState(WAITING);
        return 1;
    }

    // A border intersection: never wait there, turn back if heading out of the web.
    if (isHeadingOut(c)) {
        setVelocity(reversed(getVelocity()));
        face(getVelocity());
    }
    return 1;
}

void GiantEnemySpider::setSeedClock(SeedClock clock) { seed_clock = clock != nullptr ? clock : calendarSeconds; }

void GiantEnemySpider::chooseNextMove(bw::Vector c) {
    // Every decision starts from the calendar second, so decisions within one second agree.
    std::srand(static_cast<unsigned>(seed_clock()));
    bool walk = (std::rand() % 100) < 50;

    Web& web = Web::getInstance();
    const std::uint32_t strings = web.getConnections(c);
    if (strings == 0) {
        // Nothing left to walk or cut here: wait again and retry.
        timer = wait_time;
        setSpeed(0);
        state = WAITING;
        return;
    }
    // The last two strings of an intersection are never cut.
    if (std::popcount(strings) < 3) walk = true;

    // Severing takes the first string in random order; walking prefers one that neither leads
    // back nor to the border, else the last string found.
    bw::Vector chosen;
    for (const std::uint32_t d : Web::shuffledDirections()) {
        if ((strings & d) == 0) continue;
        const bw::Vector offset = Web::directionToOffset(d);
        chosen = offset;
        if (!walk) break;
        if (!(offset == reversed(heading)) && !web.isEdge(c + offset)) break;
    }
    heading = chosen;

    if (!walk) {
        setState(SEVERING);
        return;
    }

    setSpeed(walk_speed);
    state = WALKING;
    setDirection(chosen);
    // Snap onto the string it leaves by, having stopped just past the intersection.
    const bw::Vector at = web.webToWorld(c);
    if (chosen.getX() == 0) setPosition(bw::Vector(at.getX(), getPosition().getY()));
    else setPosition(bw::Vector(getPosition().getX(), at.getY()));
    face(chosen);
    // Leaving c must not count as crossing it again.
    setTargetIntersection(c);
}

void GiantEnemySpider::setState(int new_state) {
    Web& web = Web::getInstance();
    switch (new_state) {
    case WAITING:
        timer = wait_time;
        setSpeed(0);
        break;
    case WALKING:
        setSpeed(walk_speed);
        break;
    case SEVERING:
        setDirection(heading);
        face(heading);
        setSpeed(0);
        web.flashConnection(true, current_intersection, current_intersection + heading);
        GameAudio::playSound("enemy-sever");
        timer = sever_time;
        break;
    case DYING: {
        // A string it was working on stops blinking and stays.
        web.flashConnection(false, current_intersection, current_intersection + heading);
        setSolidness(bw::INTANGIBLE);
        setAltitude(3);
        const int r = std::rand();
        const int sign = (std::rand() & 1) * 2 - 1;
        const double sideways = sign * ((r % 100) / 100.0 * 0.75 + 0.5);
        setVelocity(bw::Vector(static_cast<float>(sideways), -1));
        break;
    }
    default:
        break;
    }
    state = new_state;
}

void GiantEnemySpider::face(bw::Vector direction) {
    static const FacingSprites sprites{"enemy-right", "enemy-left", "enemy-up", "enemy-down"};
    faceDirection(direction, sprites);
}
