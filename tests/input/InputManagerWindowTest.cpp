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
bool xdotool(std::string arguments) {
    if (arguments.find("%1") != std::string::npos)
        arguments = "search --sync --name '^" + bw::WINDOW_TITLE_DEFAULT + "$' " + arguments;
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

/// Lets the X server deliver everything just sent, so that it all lands in one iteration.
void waitForDelivery() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

std::string key(bw::KeyboardAction action, bw::Key which) {
    return "key " + std::to_string(which) + " action " + std::to_string(action);
}
std::string mouse(bw::MouseAction action, int button, bw::Vector at) {
    return "button " + std::to_string(button) + " action " + std::to_string(action) + " at " + at.toString();
}

/// Records the events of one getInput call.
class InputRecorder : public bw::Object {
public:
    int eventHandler(const bw::Event* event) override {
        if (const auto* k = dynamic_cast<const bw::EventKeyboard*>(event))
            heard.push_back(key(k->getKeyboardAction(), k->getKey()));
        else if (const auto* m = dynamic_cast<const bw::EventMouse*>(event))
            heard.push_back(mouse(m->getMouseAction(), m->getMouseButton(), m->getMousePosition()));
        return 1;
    }
    /// One loop iteration.
    const std::vector<std::string>& iterate() {
        heard.clear();
        bw::InputManager::getInstance().getInput();
        return heard;
    }
    /// Calls getInput every 10 ms, as the loop would, until a call delivers the wanted event
    /// (giving up after 3 seconds), and gives what that call delivered.
    const std::vector<std::string>& until(const std::string& wanted) {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (std::ranges::count(iterate(), wanted) > 0) return heard;
        ADD_FAILURE() << "no getInput call delivered \"" << wanted << "\"";
        return heard;
    }
    std::vector<std::string> heard;
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
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, zero)), ElementsAre(key(bw::KEY_PRESSED, zero), held_zero));
    ASSERT_TRUE(xdotool("keydown d"));
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, d)),
                ElementsAre(key(bw::KEY_PRESSED, d), held_d, held_zero));
    // Held past the X server's key repeat delay, keys must not come again as new presses.
    for (int i = 0; i < 40; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(30)))
        ASSERT_THAT(heard.iterate(), ElementsAre(held_d, held_zero)) << "iteration " << i;
    ASSERT_TRUE(xdotool("keyup 0"));
    EXPECT_THAT(heard.until(key(bw::KEY_RELEASED, zero)), ElementsAre(key(bw::KEY_RELEASED, zero), held_d));
    ASSERT_TRUE(xdotool("keyup d"));
    EXPECT_THAT(heard.until(key(bw::KEY_RELEASED, d)), ElementsAre(key(bw::KEY_RELEASED, d)));
    // Pressed and released within one iteration: never held. Home has no engine key: dropped,
    // and nothing is held for it.
    ASSERT_TRUE(xdotool("keydown Home keydown Escape keyup Escape"));
    waitForDelivery();
    EXPECT_THAT(heard.until(key(bw::KEY_PRESSED, bw::KEY_ESCAPE)),
                ElementsAre(key(bw::KEY_PRESSED, bw::KEY_ESCAPE), key(bw::KEY_RELEASED, bw::KEY_ESCAPE)));
    EXPECT_THAT(heard.iterate(), IsEmpty());

    const int none = bw::UNDEFINED_MOUSE_BUTTON, left = bw::BUTTON_LEFT, middle = bw::BUTTON_MIDDLE;
    const auto at = [](float x, float y) {
        return [=](bw::MouseAction a, int button) { return mouse(a, button, bw::Vector(x, y)); };
    };
    const auto first = at(100, 200), second = at(300, 400);
    ASSERT_TRUE(xdotool("mousemove --sync --window %1 100 200"));
    EXPECT_EQ(heard.until(first(bw::MOUSE_MOVED, none)).back(), first(bw::MOUSE_MOVED, none));
    EXPECT_THAT(heard.iterate(), IsEmpty()) << "no button is held";
    // The extra button 8 is dropped; held buttons come in button order, whatever the order of pressing.
    ASSERT_TRUE(xdotool("mousedown 8 mousedown 2"));
    EXPECT_THAT(heard.until(first(bw::MOUSE_PRESSED, middle)),
                ElementsAre(first(bw::MOUSE_PRESSED, middle), first(bw::MOUSE_HELD, middle)));
    ASSERT_TRUE(xdotool("mousedown 1"));
    EXPECT_THAT(heard.until(first(bw::MOUSE_PRESSED, left)),
                ElementsAre(first(bw::MOUSE_PRESSED, left), first(bw::MOUSE_HELD, left),
                            first(bw::MOUSE_HELD, middle)));
    // Dragging: the hold follows the pointer, not the place of the press.
    ASSERT_TRUE(xdotool("mousemove --sync --window %1 300 400"));
    EXPECT_THAT(heard.until(second(bw::MOUSE_MOVED, none)),
                ElementsAre(second(bw::MOUSE_MOVED, none), second(bw::MOUSE_HELD, left),
                            second(bw::MOUSE_HELD, middle)));
    ASSERT_TRUE(xdotool("mouseup 1 mouseup 8 mouseup 2"));
    waitForDelivery();
    EXPECT_THAT(heard.until(second(bw::MOUSE_RELEASED, left)),
                ElementsAre(second(bw::MOUSE_RELEASED, left), second(bw::MOUSE_RELEASED, middle)));
    EXPECT_THAT(heard.iterate(), IsEmpty());

    bw::InputManager::getInstance().shutDown();
    bw::DisplayManager::getInstance().shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
