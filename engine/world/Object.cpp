#include "Object.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WorldManager.h"

#include <algorithm>

namespace bw {

namespace {
int next_object_id = 0;
}

Object::Object() : id(next_object_id++) {
    // A full world leaves the object outside it, silently: it is then never moved or drawn.
    WorldManager::getInstance().insertObject(this);
}

Object::~Object() { WorldManager::getInstance().removeObject(this); }

int Object::eventHandler(const Event*) { return 0; }

int Object::setAltitude(int new_altitude) {
    if (new_altitude > MAX_ALTITUDE) {
        LogManager::getInstance().writeLog(1, "WARNING: attempted to set display altitude beyond MAX_ALTITUDE");
        return -1;
    }
    altitude = new_altitude;
    return 0;
}

void Object::setVelocity(Vector velocity) {
    speed = velocity.getMagnitude();
    // Divided, not multiplied by a reciprocal, so a velocity along an axis gives exactly 1.
    if (speed != 0) velocity = Vector(velocity.getX() / speed, velocity.getY() / speed);
    direction = velocity;
}

Vector Object::getVelocity() const {
    Vector velocity = direction;
    velocity.scale(speed);
    return velocity;
}

Vector Object::predictPosition() const {
    const DisplayManager& display = DisplayManager::getInstance();
    const float w = display.charWidth();
    const float h = display.charHeight();
    const float s = std::min(w, h);
    const Vector velocity = getVelocity();
    return {position.getX() + velocity.getX() / w * s, position.getY() + velocity.getY() / h * s};
}

int Object::setSolidness(Solidness new_solidness) {
    solidness = new_solidness;
    return 0;
}

void Object::setSprite(const std::string& label, bool fit_box) {
    Sprite* found = ResourceManager::getInstance().getSprite(label);
    if (!found) {
        LogManager::getInstance().writeLog(1, "WARNING: no sprite labelled \"" + label + "\"; keeping the current one");
        return;
    }
    sprite = found;
    slowdown_count = sprite->getFrame(0).getSlowdown();
    if (fit_box) {
        const float width = static_cast<float>(sprite->getWidth());
        const float height = static_cast<float>(sprite->getHeight());
        box = Box(Vector(-width / 2, -height / 2), width, height);
    }
}

Box Object::getWorldBox() const {
    Box world = box;
    world.setCorner(box.getCorner() + position);
    return world;
}

int Object::draw() {
    if (!sprite) return -1;
    int result = 0;
    const Frame frame = sprite->getFrame(frame_index);
    if (!frame.getString().empty()) result = frame.draw(position, sprite->getTransparency());

    // A countdown at 0 or below freezes the animation; a sprite without frames cannot advance.
    if (slowdown_count > 0 && --slowdown_count == 0 && sprite->getFrameCount() > 0) {
        frame_index = (frame_index + 1) % sprite->getFrameCount();
        slowdown_count = sprite->getFrame(frame_index).getSlowdown();
    }

    if (box_visible) {
        const DisplayManager& display = DisplayManager::getInstance();
        const float x0 = position.getX() + box.getCorner().getX();
        const float y0 = position.getY() + box.getCorner().getY();
        const float x1 = x0 + box.getHorizontal() - 1;
        const float y1 = y0 + box.getVertical() - 1;
        for (const Vector corner : {Vector(x0, y0), Vector(x1, y0), Vector(x0, y1), Vector(x1, y1)})
            display.drawCh(corner, '+', COLOR_WHITE);
        display.drawCh(position - Vector(0.5f, 0.5f), 'x', COLOR_RED);
    }
    return result;
}

} // namespace bw
