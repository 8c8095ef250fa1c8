// The input manager without a window: its translation tables and what it does when the display
// has not been started. Nothing here opens a window.
#include "InputManager.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <SFML/Window/Keyboard.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using Scan = sf::Keyboard::Scancode;

namespace {

TEST(InputManagerTableTest, SixtySevenKeysAndThreeButtonsComeFromTheirSfmlCodesAndNothingElse) {
    std::map<int, int> key_of; // scancode -> engine key
    const Scan named[] = {Scan::Space, Scan::Enter, Scan::Escape, Scan::Tab, Scan::Left, Scan::Right,
                          Scan::Up, Scan::Down, Scan::Pause, Scan::NumpadMinus, Scan::NumpadPlus,
                          Scan::Grave, Scan::Period, Scan::Comma, Scan::Slash, Scan::LControl,
                          Scan::RControl, Scan::LShift, Scan::RShift};
    for (int i = 0; i < 19; ++i) key_of[static_cast<int>(named[i])] = i;
    for (int i = 0; i < 12; ++i) key_of[static_cast<int>(Scan::F1) + i] = 19 + i;
    for (int i = 0; i < 26; ++i) key_of[static_cast<int>(Scan::A) + i] = 31 + i;
    for (int i = 0; i < 9; ++i) key_of[static_cast<int>(Scan::Num1) + i] = 57 + i;
    key_of[static_cast<int>(Scan::Num0)] = 66; // after nine, at the end of the digit row
    ASSERT_EQ(key_of.size(), 67u);

    const bw::InputManager& input = bw::InputManager::getInstance();
    // Every other scancode, Unknown (-1) included, is undefined rather than some key.
    for (int code = -1; code <= static_cast<int>(sf::Keyboard::ScancodeCount); ++code) {
        const auto known = key_of.find(code);
        EXPECT_EQ(input.translateKey(code), known == key_of.end() ? bw::UNDEFINED_KEY : known->second)
            << "scancode " << code;
    }
    // SFML's left, right and middle are 0, 1 and 2; its two extra buttons 3 and 4 are not known.
    const bw::MouseButton buttons[] = {bw::BUTTON_LEFT, bw::BUTTON_RIGHT, bw::BUTTON_MIDDLE};
    for (int button = 0; button < 3; ++button) EXPECT_EQ(input.translateButton(button), buttons[button]);
    for (int other : {-1, 3, 4}) EXPECT_EQ(input.translateButton(other), bw::UNDEFINED_MOUSE_BUTTON) << other;
}

TEST(InputManagerWithoutDisplayTest, StartUpFailsWithAnErrorAndGetInputDoesNothing) {
    const TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    log.setLogLevel(0); // an error line: written even when only level 0 passes
    ASSERT_EQ(log.startUp(), 0);
    bw::InputManager& input = bw::InputManager::getInstance();
    ASSERT_FALSE(bw::DisplayManager::getInstance().isStarted());
    EXPECT_EQ(input.startUp(), -1);
    EXPECT_FALSE(input.isStarted());
    input.getInput(); // no window to poll: must simply return
    input.shutDown();
    EXPECT_THAT(readLogLines(), ::testing::ElementsAre("ERROR: InputManager started before DisplayManager"));
    log.shutDown();
}

} // namespace
