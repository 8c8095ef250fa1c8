// The input manager without a window: its translation tables and what it does when the display
// has not been started. Nothing here opens a window.
#include "InputManager.h"

#include "DisplayManager.h"
#include "Event.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using bw::InputManager;
using bw::Key;
using Scan = sf::Keyboard::Scancode;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

Key keyFor(Scan scancode) {
    return InputManager::getInstance().translateKey(static_cast<int>(scancode));
}

/// Counts the events it hears.
class EventCounter : public bw::Object {
public:
    int eventHandler(const bw::Event*) override {
        ++heard;
        return 1;
    }
    int heard = 0;
};

TEST(InputManagerTranslationTest, EveryEngineKeyComesFromExactlyOneScancode) {
    std::map<int, int> scancodes_per_key;
    for (int code = -1; code < static_cast<int>(sf::Keyboard::ScancodeCount); ++code) {
        const Key key = InputManager::getInstance().translateKey(code);
        if (key == bw::UNDEFINED_KEY) continue;
        ASSERT_GE(key, 0);
        ASSERT_LT(key, bw::KEY_COUNT);
        ++scancodes_per_key[key];
    }
    EXPECT_EQ(static_cast<int>(scancodes_per_key.size()), bw::KEY_COUNT);
    for (const auto& [key, count] : scancodes_per_key)
        EXPECT_EQ(count, 1) << "key " << key;
}

TEST(InputManagerTranslationTest, KeysFollowThePhysicalKeyNames) {
    EXPECT_EQ(keyFor(Scan::Space), bw::KEY_SPACE);
    EXPECT_EQ(keyFor(Scan::Enter), bw::KEY_ENTER);
    EXPECT_EQ(keyFor(Scan::Escape), bw::KEY_ESCAPE);
    EXPECT_EQ(keyFor(Scan::Tab), bw::KEY_TAB);
    EXPECT_EQ(keyFor(Scan::Left), bw::KEY_LEFT);
    EXPECT_EQ(keyFor(Scan::Right), bw::KEY_RIGHT);
    EXPECT_EQ(keyFor(Scan::Up), bw::KEY_UP);
    EXPECT_EQ(keyFor(Scan::Down), bw::KEY_DOWN);
    EXPECT_EQ(keyFor(Scan::Pause), bw::KEY_PAUSE);
    EXPECT_EQ(keyFor(Scan::NumpadMinus), bw::KEY_NUMPAD_MINUS);
    EXPECT_EQ(keyFor(Scan::NumpadPlus), bw::KEY_NUMPAD_PLUS);
    EXPECT_EQ(keyFor(Scan::Grave), bw::KEY_GRAVE);
    EXPECT_EQ(keyFor(Scan::Period), bw::KEY_PERIOD);
    EXPECT_EQ(keyFor(Scan::Comma), bw::KEY_COMMA);
    EXPECT_EQ(keyFor(Scan::Slash), bw::KEY_SLASH);
    EXPECT_EQ(keyFor(Scan::LControl), bw::KEY_LEFT_CONTROL);
    EXPECT_EQ(keyFor(Scan::RControl), bw::KEY_RIGHT_CONTROL);
    EXPECT_EQ(keyFor(Scan::LShift), bw::KEY_LEFT_SHIFT);
    EXPECT_EQ(keyFor(Scan::RShift), bw::KEY_RIGHT_SHIFT);
}

TEST(InputManagerTranslationTest, RunsOfFunctionKeysLettersAndDigitsKeepTheirOrder) {
    EXPECT_EQ(keyFor(Scan::F1), bw::KEY_F1);
    EXPECT_EQ(keyFor(Scan::F7), bw::KEY_F7);
    EXPECT_EQ(keyFor(Scan::F12), bw::KEY_F12);
    EXPECT_EQ(keyFor(Scan::A), 31);
    EXPECT_EQ(keyFor(Scan::D), 34);
    EXPECT_EQ(keyFor(Scan::S), 49);
    EXPECT_EQ(keyFor(Scan::W), 53);
    EXPECT_EQ(keyFor(Scan::Z), bw::KEY_Z);
    EXPECT_EQ(keyFor(Scan::Num1), bw::KEY_NUM1);
    EXPECT_EQ(keyFor(Scan::Num9), bw::KEY_NUM9);
    // Zero sits after nine, at the end of the digit row.
    EXPECT_EQ(keyFor(Scan::Num0), 66);
}

TEST(InputManagerTranslationTest, KeysOutsideTheTableAreUndefined) {
    for (Scan other : {Scan::Unknown, Scan::Home, Scan::Backspace, Scan::Numpad1, Scan::LAlt, Scan::F13,
                       Scan::Hyphen, Scan::NumpadEnter, Scan::LaunchMediaSelect}) {
        EXPECT_EQ(keyFor(other), bw::UNDEFINED_KEY) << static_cast<int>(other);
    }
    EXPECT_EQ(InputManager::getInstance().translateKey(static_cast<int>(sf::Keyboard::ScancodeCount)),
              bw::UNDEFINED_KEY);
    // Asking does not enter anything into the table.
    EXPECT_EQ(keyFor(Scan::Home), bw::UNDEFINED_KEY);
}

TEST(InputManagerTranslationTest, ThreeMouseButtonsAreKnown) {
    const InputManager& input = InputManager::getInstance();
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Left)), bw::BUTTON_LEFT);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Right)), bw::BUTTON_RIGHT);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Middle)), bw::BUTTON_MIDDLE);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Extra1)), bw::UNDEFINED_MOUSE_BUTTON);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Extra2)), bw::UNDEFINED_MOUSE_BUTTON);
    EXPECT_EQ(input.translateButton(-1), bw::UNDEFINED_MOUSE_BUTTON);
}

class InputManagerWithoutDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        bw::WorldManager::getInstance().startUp();
        ASSERT_FALSE(bw::DisplayManager::getInstance().isStarted());
        baseline = readLogLines().size();
    }
    void TearDown() override {
        input.shutDown();
        log.shutDown();
    }

    /// The messages written since SetUp.
    std::vector<std::string> newLines() const {
        const auto lines = readLogLines();
        return {lines.begin() + static_cast<long>(baseline), lines.end()};
    }

    TempWorkDir dir;
    std::size_t baseline = 0;
    bw::LogManager& log = bw::LogManager::getInstance();
    InputManager& input = InputManager::getInstance();
};

TEST_F(InputManagerWithoutDisplayTest, StartUpBeforeTheDisplayFailsWithAnError) {
    EXPECT_EQ(input.startUp(), -1);
    EXPECT_FALSE(input.isStarted());
    EXPECT_THAT(newLines(), ElementsAre("ERROR: InputManager started before DisplayManager"));

    // An error line: it is written even when only level 0 passes.
    log.setLogLevel(0);
    EXPECT_EQ(input.startUp(), -1);
    EXPECT_EQ(countLogLines("ERROR: InputManager started before DisplayManager"), 2);
}

TEST_F(InputManagerWithoutDisplayTest, ShutDownWithoutAWindowIsQuiet) {
    input.shutDown();
    EXPECT_FALSE(input.isStarted());
    EXPECT_THAT(newLines(), IsEmpty());
}

TEST_F(InputManagerWithoutDisplayTest, GetInputWithoutAWindowSendsNothing) {
    EventCounter counter;
    input.getInput();
    input.getInput();
    EXPECT_EQ(counter.heard, 0);
    EXPECT_FALSE(logHasLineStartingWith("Sending event"));
}

} // namespace
