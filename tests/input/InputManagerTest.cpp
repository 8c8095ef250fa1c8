// The input manager's translation of SFML's codes (what it does without a window is part of the
// game manager's tests). Nothing here opens a window.
#include "InputManager.h"

#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using Scan = sf::Keyboard::Scancode;

namespace {

// Every engine key comes from exactly one scancode and every other scancode, Unknown (-1)
// included, from none; the ends of each run of keys pin down which scancode is which.
TEST(InputManagerTableTest, EveryKeyComesFromOneScancodeAndNothingElseIsAKey) {
    const bw::InputManager& input = bw::InputManager::getInstance();
    std::map<int, int> scancode_of; // engine key -> scancode
    for (int code = -1; code <= static_cast<int>(sf::Keyboard::ScancodeCount); ++code) {
        const bw::Key key = input.translateKey(code);
        if (key == bw::UNDEFINED_KEY) continue;
        EXPECT_TRUE(key >= 0 && key < bw::KEY_COUNT) << "scancode " << code << " gives " << key;
        EXPECT_TRUE(scancode_of.emplace(key, code).second) << "key " << key << " from two scancodes";
    }
    EXPECT_EQ(scancode_of.size(), static_cast<std::size_t>(bw::KEY_COUNT));
    // The first and last of the named keys and of each run the engine numbers in a row.
    const std::pair<Scan, bw::Key> pinned[] = {
        {Scan::Space, bw::KEY_SPACE}, {Scan::RShift, bw::KEY_RIGHT_SHIFT}, {Scan::F1, bw::KEY_F1},
        {Scan::F12, bw::KEY_F12},     {Scan::A, bw::KEY_A},                {Scan::Z, bw::KEY_Z},
        {Scan::Num1, bw::KEY_NUM1},   {Scan::Num0, bw::KEY_NUM0}};
    for (const auto& [scancode, key] : pinned)
        EXPECT_EQ(input.translateKey(static_cast<int>(scancode)), key) << static_cast<int>(scancode);
    // SFML's left, right and middle are known; its two extra buttons are not.
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Left)), bw::BUTTON_LEFT);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Right)), bw::BUTTON_RIGHT);
    EXPECT_EQ(input.translateButton(static_cast<int>(sf::Mouse::Button::Middle)), bw::BUTTON_MIDDLE);
    for (int other : {-1, 3, 4}) EXPECT_EQ(input.translateButton(other), bw::UNDEFINED_MOUSE_BUTTON) << other;
}

} // namespace
