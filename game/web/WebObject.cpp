#include "WebObject.h"

#include "Web.h"

#include <cmath>

WebObject::WebObject() { setAltitude(1); }

bw::Vector WebObject::getNextIntersection() const {
    const bw::Vector w = Web::getInstance().worldToWeb(getPosition());
    const bw::Vector v = getVelocity();
    if (v.getX() > 0) return bw::Vector(std::ceil(w.getX()), w.getY());
    if (v.getX() < 0) return bw::Vector(std::floor(w.getX()), w.getY());
    if (v.getY() > 0) return bw::Vector(w.getX(), std::ceil(w.getY()));
    if (v.getY() < 0) return bw::Vector(w.getX(), std::floor(w.getY()));
    return NO_POSITION;
}

bw::Vector WebObject::crossedIntersection() {
    const bw::Vector next = getNextIntersection();
    if (next == target_intersection) return NO_POSITION;
    const bw::Vector passed = target_intersection;
    target_intersection = next;
    return passed;
}

bool WebObject::isHeadingOut(bw::Vector c) const {
    const bw::Vector v = getVelocity();
    return (c.getX() <= 0 && v.getX() < 0) || (c.getX() >= Web::LAST_COLUMN && v.getX() > 0) ||
           (c.getY() <= 0 && v.getY() < 0) || (c.getY() >= Web::LAST_ROW && v.getY() > 0);
}

void WebObject::faceDirection(bw::Vector direction, const FacingSprites& sprites) {
    if (direction.getX() > 0) setSprite(sprites.right);
    else if (direction.getX() < 0) setSprite(sprites.left);
    else if (direction.getY() > 0) setSprite(sprites.down);
    else if (direction.getY() < 0) setSprite(sprites.up);
}
