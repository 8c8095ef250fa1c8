#include "Player.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameAudio.h"
#include "GameStart.h"
#include "LogManager.h"
#include "SilkCounter.h"
#include "SilkShot.h"
#include "Sprite.h"
#include "Web.h"

#include <cstdint>
#include <string>

namespace {

// Steps before the end of the fall animation at which the game-over screen takes over.
constexpr int GAME_OVER_LEAD = 10;

bool isType(const bw::Object* object, const std::string& type) { return object && object->getType() == type; }

} // namespace

Player::Player() {
    setType("Player");
    setSprite("player-right");
    setSolidness(bw::PASSABLE);
    setAltitude(2);
    setSpeed(0.6f);
    // One column spacing left of the window, so the spider runs in through the anchor (0, 1).
    setPosition(Web::getInstance().webToWorld(bw::Vector(-1, 1)));
    setDirection(bw::Vector(1, 0));
}

int Player::eventHandler(const bw::Event* event) {
    const std::string type = event->getType();
    if (type == bw::EVENT_TYPE_KEYBOARD) {
        const auto* keyboard = static_cast<const bw::EventKeyboard*>(event);
        if (keyboard->getKeyboardAction() != bw::KEY_PRESSED) return 1;
        switch (keyboard->getKey()) {
        case bw::KEY_W: queued_direction = bw::Vector(0, -1); break;
        case bw::KEY_A: queued_direction = bw::Vector(-1, 0); break;
        case bw::KEY_S: queued_direction = bw::Vector(0, 1); break;
        case bw::KEY_D: queued_direction = bw::Vector(1, 0); break;
        case bw::KEY_ESCAPE: die(); break;
        default: break;
        }
        return 1;
    }
    if (type == bw::EVENT_TYPE_COLLISION) {
        const auto* collision = static_cast<const bw::EventCollision*>(event);
        // The fly does the scoring; the spider only slurps.
        if (isType(collision->getObject1(), "Fly") || isType(collision->getObject2(), "Fly"))
            GameAudio::playSound("player-eat");
        return 0;
    }
    if (type == bw::EVENT_TYPE_STEP) return onStep(static_cast<const bw::EventStep*>(event)->getStepCount());
    return 0;
}

int Player::onStep(int step_count) {
    if (!dying) last_step = step_count;
    // Called while dying too, so the tracking stays current; the result is then ignored.
    const bw::Vector c = crossedIntersection();

    if (!dying && !(c == NO_POSITION)) {
        if (Web::isInterior(c)) {
            if (!(queued_direction == NO_POSITION)) {
                turn(c, queued_direction);
                queued_direction = NO_POSITION; // used up even when the turn was not possible
            }
            // Only the string ahead counts, in the direction after any turn.
            const std::uint32_t m = Web::getInstance().getConnections(c);
            const bw::Vector d = getDirection();
            const bool falls = (d.getY() < 0 && !(m & UP)) || (d.getX() > 0 && !(m & RIGHT)) ||
                               (d.getY() > 0 && !(m & DOWN)) || (d.getX() < 0 && !(m & LEFT));
            if (falls) die();
        } else {
            bounce(c);
        }
    }

    if (!dying) return 1;

    // Hand over to the game-over screen shortly before the fall animation ends.
    const bw::Sprite* sprite = getSprite();
    const int fall_steps = sprite ? sprite->getTotalSlowdown() : 0;
    if (!game_over_sent && (step_count - last_step) + GAME_OVER_LEAD >= fall_steps) {
        game_over_sent = true;
        GameStart::getInstance().gameOver();
    }
    return 1;
}

void Player::turn(bw::Vector c, bw::Vector d) {
    // Only across the current axis: reversing happens at the border alone.
    const bw::Vector v = getVelocity();
    if ((v.getX() != 0 && d.getX() != 0) || (v.getY() != 0 && d.getY() != 0)) return;

    setDirection(d);
    GameAudio::playSound("player-shift");
    // Snap onto the new string; what was already run past c along the old axis is dropped.
    const bw::Vector at = Web::getInstance().webToWorld(c);
    const bw::Vector position = getPosition();
    if (d.getX() != 0) setPosition(bw::Vector(position.getX(), at.getY()));
    else setPosition(bw::Vector(at.getX(), position.getY()));
    face(d);
    // Track the next intersection along the new axis.
    crossedIntersection();
}

void Player::bounce(bw::Vector c) {
    // Entering the web through an anchor is no bounce.
    if (!isHeadingOut(c)) return;

    const bw::Vector d = getDirection();
    setDirection(bw::Vector(-d.getX(), -d.getY()));
    GameAudio::playSound("player-bounce");
    face(getDirection());
    queued_direction = NO_POSITION;

    SilkCounter& silk = SilkCounter::getInstance();
    if (!silk.isCharged()) return;
    // The shot flies back into the web from the border it bounced off.
    std::uint32_t shot_direction = 0;
    if (c.getX() == 0) shot_direction = RIGHT;
    else if (c.getX() == Web::LAST_COLUMN) shot_direction = LEFT;
    else if (c.getY() == 0) shot_direction = DOWN;
    else if (c.getY() == Web::LAST_ROW) shot_direction = UP;
    (new SilkShot(shot_direction))->fireFrom(getPosition());
    GameAudio::playSound("rope-repair");
    silk.useCharge();
}

void Player::face(bw::Vector direction) {
    static const FacingSprites sprites{"player-right", "player-left", "player-up", "player-down"};
    faceDirection(direction, sprites);
}

void Player::die() {
    if (dying) return;
    dying = true;
    bw::LogManager::getInstance().writeLog(0, "Player is dying");
    GameAudio::playSound("player-fall");
    setAltitude(3);
    // The direction stays, so the falling spider drifts on along its last string.
    setSpeed(0.5f);
    setSolidness(bw::INTANGIBLE);
    setSprite("player-fall");
}
