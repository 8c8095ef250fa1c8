#include "SilkCounter.h"

#include "DisplayManager.h"
#include "Sprite.h"

#include <algorithm>

SilkCounter::SilkCounter() {
    setSprite("silk-counter-spr");
    setType("SilkCounter");
    setSolidness(bw::INTANGIBLE);
    setAltitude(4);
    // The sprite, drawn centred, starts 3 cells from the left edge and 3 rows above the bottom.
    const float width = getBox().getHorizontal();
    const int rows = bw::DisplayManager::getInstance().getVertical();
    setPosition(bw::Vector(static_cast<float>(width * 0.5 + 3.0), static_cast<float>(rows - 3)));
}

void SilkCounter::addCharge() {
    // The sprite's last frame is the fullest picture; without a sprite there is none to show.
    const int frames = getSprite() ? getSprite()->getFrameCount() : 0;
    if (charge < frames - 1) ++charge;
}

bool SilkCounter::isCharged() const { return charge >= SHOT_COST; }

void SilkCounter::useCharge() { charge = std::max(charge - SHOT_COST, 0); }

void SilkCounter::reset() {
    charge = 0;
    visible = true;
}

void SilkCounter::hide() { visible = false; }

int SilkCounter::draw() {
    if (!visible) return 0;
    const bw::Sprite* sprite = getSprite();
    if (!sprite) return -1;
    return sprite->draw(charge, getPosition());
}
