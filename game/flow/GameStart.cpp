#include "GameStart.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameAudio.h"
#include "GameManager.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "Player.h"
#include "ResourceManager.h"
#include "Saucer.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "Spawner.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include <cstdlib>
#include <initializer_list>
#include <string>

namespace {
const bw::Color CONTROLS_COLOR("0x2E86AB", 1.0f);
const bw::Color PROMPT_COLOR("0xF24236", 1.0f);
const bw::Color INSTRUCTIONS_COLOR("0xFFFFFF", 1.0f);

const std::string START_PROMPT = "< W to Start >";
// The same width as the prompt, so the brackets stay put while the words blink.
const std::string BLANK_PROMPT = "<            >";

// The game-over saucers fall at 0 to 5 cells per step.
constexpr int SAUCER_DROP_SPEEDS = 6;

// Queues every object whose type is one of types for deletion.
void deleteObjectsOfType(std::initializer_list<const char*> types) {
    bw::WorldManager& world = bw::WorldManager::getInstance();
    const bw::ObjectList objects = world.getAllObjects();
    for (bw::Object* object : objects) {
        const std::string type = object->getType();
        for (const char* doomed : types) {
            if (type == doomed) {
                world.markForDelete(object);
                break;
            }
        }
    }
}
} // namespace

GameStart::GameStart() {
    step_count = 0;
    setAltitude(4);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    setPosition(bw::Vector(static_cast<float>(display.getHorizontal() * 0.5 + 2.0),
                           static_cast<float>(display.getVertical() * 0.5 - 4.0)));
    setSprite("title-text");
    GameAudio::playMusic("title-song");
    state = TITLE;
}

int GameStart::eventHandler(const bw::Event* event) {
    if (event->getType() == bw::EVENT_TYPE_STEP) {
        ++step_count;
        return 1;
    }
    if (event->getType() != bw::EVENT_TYPE_KEYBOARD) return 0;

    const auto* keyboard = static_cast<const bw::EventKeyboard*>(event);
    if (keyboard->getKeyboardAction() != bw::KEY_PRESSED) return 1;
    if (keyboard->getKey() == bw::KEY_W) {
        if (state == TITLE)
            startGame();
        else if (state == GAME_OVER)
            returnToMenu();
    } else if (keyboard->getKey() == bw::KEY_ESCAPE && state != PLAYING) {
        bw::GameManager::getInstance().setGameOver();
    }
    return 1;
}

void GameStart::startGame() {
    state = PLAYING;
    Web::getInstance().reset();
    ScoreCounter::getInstance().reset();
    SilkCounter::getInstance().reset();
    new Player;
    new Spawner;
    GameAudio::stopMusic("title-song");
    GameAudio::playMusic("theme-song");
}

void GameStart::gameOver() {
    state = GAME_OVER;
    deleteObjectsOfType({"Player", "Spawner"});

    // A saucer drops straight onto each interior column, breaking the web behind the text.
    for (int column = 1; column <= Web::INTERIOR_COLUMNS; ++column) {
        const int row = std::rand() % Web::INTERIOR_ROWS + 1;
        bw::LogManager::getInstance().writeLog(0, "spawned saucer: " + std::to_string(column) + " " +
                                                      std::to_string(row));
        Saucer* saucer = new Saucer(bw::Vector(static_cast<float>(column), static_cast<float>(row)));
        saucer->setVelocity(bw::Vector(0, static_cast<float>(std::rand() % SAUCER_DROP_SPEEDS)));
        GameAudio::playSound("saucer-spawn");
    }
}

void GameStart::returnToMenu() {
    state = TITLE;
    GameAudio::stopMusic("theme-song");
    GameAudio::playMusic("title-song");
    Web::getInstance().hide();
    ScoreCounter::getInstance().hide();
    SilkCounter::getInstance().hide();
    // Silk shots and pop-ups finish their flight and leave on their own.
    deleteObjectsOfType({"Player", "Spawner", "GiantEnemySpider", "Fly", "Saucer"});
}

int GameStart::draw() {
    if (state == TITLE)
        drawTitle();
    else if (state == GAME_OVER)
        drawGameOver();
    return 1;
}

void GameStart::drawTitle() {
    Object::draw();

    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const double h = display.getHorizontal();
    const double v = display.getVertical();
    const auto at = [](double x, double y) {
        return bw::Vector(static_cast<float>(x), static_cast<float>(y));
    };
    const bool words_shown = static_cast<int>(step_count / static_cast<double>(BLINK_STEPS)) % 2 == 0;

    display.drawString(at(5, v * 0.5 + 5), "WASD - move.", CONTROLS_COLOR, bw::LEFT_JUSTIFIED);
    display.drawString(at(h - 5, v * 0.5 + 5), "ESC - exit.", CONTROLS_COLOR, bw::RIGHT_JUSTIFIED);
    display.drawString(at(h * 0.5, v * 0.5 + 5), words_shown ? START_PROMPT : BLANK_PROMPT, PROMPT_COLOR,
                       bw::CENTER_JUSTIFIED);
    display.drawString(at(h * 0.5, v * 0.5 + 7), "Eat flies to charge silk shot.", INSTRUCTIONS_COLOR,
                       bw::CENTER_JUSTIFIED);
    display.drawString(at(h * 0.5, v * 0.5 + 8), "Bounce off screen edge to fire silk shot.",
                       INSTRUCTIONS_COLOR, bw::CENTER_JUSTIFIED);
    display.drawString(at(h * 0.5, v * 0.5 + 9), "Silk shot repairs broken strings and kills enemies.",
                       INSTRUCTIONS_COLOR, bw::CENTER_JUSTIFIED);
    display.drawString(at(h * 0.5, v * 0.5 + 10), "Don't fall off the web!", INSTRUCTIONS_COLOR,
                       bw::CENTER_JUSTIFIED);
}

void GameStart::drawGameOver() {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    // The sprite's first frame, not the object's animation.
    if (const bw::Sprite* text = bw::ResourceManager::getInstance().getSprite("game-over-text"))
        text->draw(0, getPosition());
    display.drawString(bw::Vector(static_cast<float>(display.getHorizontal() * 0.5),
                                  static_cast<float>(display.getVertical() * 0.5 + 5)),
                       "< W to return to menu >", PROMPT_COLOR, bw::CENTER_JUSTIFIED);
}
