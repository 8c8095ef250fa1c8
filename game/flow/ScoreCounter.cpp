#include "ScoreCounter.h"

#include "DisplayManager.h"
#include "GameAudio.h"
#include "PopUp.h"
#include "WebObject.h"

#include <string>

namespace {
// An Object: the world manager's shut-down may destroy it, and the next getInstance() then
// makes a fresh one.
ScoreCounter* instance = nullptr;

const bw::Color SCORE_COLOR("0xE36397", 1.0f);
} // namespace

ScoreCounter& ScoreCounter::getInstance() {
    if (!instance) instance = new ScoreCounter;
    return *instance;
}

ScoreCounter::ScoreCounter() {
    setSolidness(bw::INTANGIBLE);
    setAltitude(4);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    setPosition(bw::Vector(static_cast<float>(display.getHorizontal() - 2),
                           static_cast<float>(display.getVertical() - 2)));
}

ScoreCounter::~ScoreCounter() {
    if (instance == this) instance = nullptr;
}

void ScoreCounter::reset() {
    score = 0;
    visible = true;
}

void ScoreCounter::hide() { visible = false; }

void ScoreCounter::addPoints(int points, bw::Vector position, bw::Color color, bool silk_charged) {
    score += points;
    GameAudio::playSound(silk_charged ? "silk-charged" : "points-gained");
    if (position == NO_POSITION) {
        new PopUp(getPosition(), "+" + std::to_string(points), color);
    } else {
        new PopUp(position, std::to_string(points), color);
    }
}

int ScoreCounter::draw() {
    if (!visible) return 0;
    return bw::DisplayManager::getInstance().drawString(getPosition(), "SCORE: " + std::to_string(score),
                                                        SCORE_COLOR, bw::RIGHT_JUSTIFIED);
}
