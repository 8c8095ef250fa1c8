// The input manager with real input: xdotool presses keys and buttons on the window through the
// X server, and an object in the world records the events each getInput call delivers.
#include "InputManager.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "LogManager.h"
#include "Object.h"

#include "TempWorkDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// Runs xdotool with these arguments; "%1" names the engine's window.
bool xdotool(const std::string& arguments) {
    const std::string window = "search --sync --name '^" + bw::WINDOW_TITLE_DEFAULT + "$' ";
    const bool on_window = arguments.find("%1") != std::string::npos;
    return std::system(("xdotool " + (on_window ? window : "") + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

/// Lets the X server deliver everything just sent, so that it all lands in one iteration.
void waitForDelivery() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

std::string key(bw::KeyboardAction action, bw::Key which) {
    return "key " + std::to_string(which) + " action " + std::to_string(action);
}
std::string mouse(bw::MouseAction action, int button, int x, int y) {
    return "button " + std::to_string(button) + " action " + std::to_string(action) + " at " + std::to_string(x) +
           "," + std::to_string(y);
}

/// Records the events of one getInput call, keyboard and mouse apart.
class InputRecorder : public bw::Object {
public:
    int eventHandler(const bw::Event* event) override {
        if (const auto* k = dynamic_cast<const bw::EventKeyboard*>(event)) {
            keys.push_back(key(k->getKeyboardAction(), k->getKey()));
        } else if (const auto* m = dynamic_cast<const bw::EventMouse*>(event)) {
            const bw::Vector at = m->getMousePosition();
            buttons.push_back(mouse(m->getMouseAction(), m->getMouseButton(), static_cast<int>(at.getX()),
                                    static_cast<int>(at.getY())));
        }
        return 1;
    }
    /// Calls getInput every 10 ms, as the loop would, until a call delivers the wanted event
    /// (giving up after 3 seconds); what that call delivered stays recorded.
    InputRecorder& until(const std::string& wanted) {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            iterate();
            if (std::ranges::count(keys, wanted) + std::ranges::count(buttons, wanted) > 0) return *this;
        }
        ADD_FAILURE() << "no getInput call delivered \"" << wanted << "\"";
        return *this;
    }
    /// One loop iteration.
    InputRecorder& iterate() {
        keys.clear();
        buttons.clear();
        bw::InputManager::getInstance().getInput();
        return *this;
    }
    std::vector<std::string> keys, buttons;
};

TEST(InputManagerWindowTest, KeysAndButtonsArePressedHeldEveryIterationInOrderAndReleased) {
    ASSERT_TRUE(xdotool("version")) << "xdotool is needed to send input to the window";
    const TempWorkDir dir;
    bw::LogManager::getInstance().startUp();
    ASSERT_EQ(bw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(bw::InputManager::getInstance().startUp(), 0);
    // Nothing stays down for the tests after this one, even after a failure.
    struct Release {
        ~Release() { xdotool("keyup 0 keyup d keyup Home mouseup 1 mouseup 2 mouseup 8"); }
    } release;
    ASSERT_TRUE(xdotool("windowfocus --sync %1")) << "the window did not get the keyboard focus";
    InputRecorder heard;
    // Whatever focusing produced (pointer crossing, focus events) is not part of the test.
    waitForDelivery();
    heard.iterate();

    // Zero (the last key) goes down before D. Through the physical key: the layout's key code for
    // zero would name a different engine key.
    const bw::Key zero = bw::KEY_NUM0, d = bw::KEY_D;
    const std::string held_zero = key(bw::KEY_HELD, zero), held_d = key(bw::KEY_HELD, d);
    ASSERT_TRUE(xdotool("keydown 0"));
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, zero)).keys, ElementsAre(key(bw::KEY_PRESSED, zero), held_zero));
    ASSERT_TRUE(xdotool("keydown d"));
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, d)).keys, ElementsAre(key(bw::KEY_PRESSED, d), held_d, held_zero));
    // Held past the X server's key repeat delay, keys must not come again as new presses.
    for (int i = 0; i < 40; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(30)))
        ASSERT_THAT(heard.iterate().keys, ElementsAre(held_d, held_zero)) << "iteration " << i;
    ASSERT_TRUE(xdotool("keyup 0"));
    EXPECT_THAT(heard.until(key(bw::KEY_RELEASED, zero)).keys, ElementsAre(key(bw::KEY_RELEASED, zero), held_d));
    ASSERT_TRUE(xdotool("keyup d"));
    EXPECT_THAT(heard.until(key(bw::KEY_RELEASED, d)).keys, ElementsAre(key(bw::KEY_RELEASED, d)));
    // Pressed and released within one iteration: never held. Home has no engine key: dropped,
    // and nothing is held for it.
    ASSERT_TRUE(xdotool("keydown Home keydown Escape keyup Escape"));
    waitForDelivery();
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, bw::KEY_ESCAPE)).keys,
                ElementsAre(key(bw::KEY_PRESSED, bw::KEY_ESCAPE), key(bw::KEY_RELEASED, bw::KEY_ESCAPE)));
    EXPECT_THAT(heard.iterate().keys, IsEmpty());

    const int none = bw::UNDEFINED_MOUSE_BUTTON, left = bw::BUTTON_LEFT, middle = bw::BUTTON_MIDDLE;
    const auto at = [](int x, int y) { return [=](bw::MouseAction a, int button) { return mouse(a, button, x, y); }; };
    const auto first = at(100, 200), second = at(300, 400);
    ASSERT_TRUE(xdotool("mousemove --sync --window %1 100 200"));
    EXPECT_EQ(heard.until(first(bw::MOUSE_MOVED, none)).buttons.back(), first(bw::MOUSE_MOVED, none));
    EXPECT_THAT(heard.iterate().buttons, IsEmpty()) << "no button is held";
    // The extra button 8 is dropped; held buttons come in button order, whatever the order of pressing.
    ASSERT_TRUE(xdotool("mousedown 8 mousedown 2"));
    EXPECT_THAT(heard.until(first(bw::MOUSE_PRESSED, middle)).buttons,
                ElementsAre(first(bw::MOUSE_PRESSED, middle), first(bw::MOUSE_HELD, middle)));
    ASSERT_TRUE(xdotool("mousedown 1"));
    EXPECT_THAT(heard.until(first(bw::MOUSE_PRESSED, left)).buttons,
                ElementsAre(first(bw::MOUSE_PRESSED, left), first(bw::MOUSE_HELD, left), first(bw::MOUSE_HELD, middle)));
    // Dragging: the hold follows the pointer, not the place of the press.
    ASSERT_TRUE(xdotool("mousemove --sync --window %1 300 400"));
    EXPECT_THAT(heard.until(second(bw::MOUSE_MOVED, none)).buttons,
                ElementsAre(second(bw::MOUSE_MOVED, none), second(bw::MOUSE_HELD, left), second(bw::MOUSE_HELD, middle)));
    ASSERT_TRUE(xdotool("mouseup 1 mouseup 8 mouseup 2"));
    waitForDelivery();
    EXPECT_THAT(heard.until(second(bw::MOUSE_RELEASED, left)).buttons,
                ElementsAre(second(bw::MOUSE_RELEASED, left), second(bw::MOUSE_RELEASED, middle)));
    EXPECT_THAT(heard.iterate().buttons, IsEmpty());

    bw::InputManager::getInstance().shutDown();
    bw::DisplayManager::getInstance().shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
