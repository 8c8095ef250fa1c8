#include "ScoreCounter.h"

#include "DisplayManager.h"
#include "GameAudio.h"
#include "PopUp.h"
#include "WebObject.h"

#include <string>

namespace {
const bw::Color SCORE_COLOR("0xE36397", 1.0f);
} // namespace

ScoreCounter::ScoreCounter() {
    setSolidness(bw::INTANGIBLE);
    setAltitude(4);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    setPosition(bw::Vector(static_cast<float>(display.getHorizontal() - 2),
                           static_cast<float>(display.getVertical() - 2)));
}

void ScoreCounter::reset() {
    score = 0;
    visible = true;
}

void ScoreCounter::hide() { visible = false; }

void ScoreCounter::addPoints(int points, bw::Vector position, bw::Color color, bool silk_charged) {
    score += points;
    GameAudio::playSound(silk_charged ? "silk-charged" : "points-gained");
    const std::string amount = std::to_string(points);
    if (position == NO_POSITION) {
        new PopUp(getPosition(), "+" + amount, color);
    } else {
        new PopUp(position, amount, color);
    }
}

int ScoreCounter::draw() {
    if (!visible) return 0;
    return bw::DisplayManager::getInstance().drawString(getPosition(), "SCORE: " + std::to_string(score),
                                                        SCORE_COLOR, bw::RIGHT_JUSTIFIED);
}
