// The input manager with real input: xdotool presses keys and buttons on the window through the
// X server, and an object in the world records the events each getInput call delivers.
#include "InputManager.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"

#include "TempWorkDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using bw::InputManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// Runs xdotool with these arguments (X key names, X buttons: 1 left, 2 middle, 3 right, 8 extra).
bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}
const std::string ENGINE_WINDOW = "search --name '^" + bw::WINDOW_TITLE_DEFAULT + "$' ";

std::string pressed(bw::Key key) { return "key " + std::to_string(key) + " pressed"; }
std::string held(bw::Key key) { return "key " + std::to_string(key) + " held"; }
std::string released(bw::Key key) { return "key " + std::to_string(key) + " released"; }
std::string mouse(const std::string& action, int button, int x, int y) {
    return "mouse " + action + " button " + std::to_string(button) + " at " + std::to_string(x) + "," +
           std::to_string(y);
}
const std::string MOVED = "moved", PRESSED = "pressed", HELD = "held", RELEASED = "released";

/// What one getInput call delivered, as text, keyboard and mouse apart.
struct Heard {
    std::vector<std::string> keys, buttons;
    bool has(const std::string& event) const {
        return std::ranges::count(keys, event) + std::ranges::count(buttons, event) > 0;
    }
};

class InputRecorder : public bw::Object {
public:
    int eventHandler(const bw::Event* event) override {
        if (const auto* key = dynamic_cast<const bw::EventKeyboard*>(event)) {
            const std::array<std::string, 3> action = {HELD, RELEASED, PRESSED};
            heard.keys.push_back("key " + std::to_string(key->getKey()) + " " +
                                 action.at(key->getKeyboardAction()));
        } else if (const auto* button = dynamic_cast<const bw::EventMouse*>(event)) {
            const std::array<std::string, 4> action = {PRESSED, RELEASED, HELD, MOVED};
            const bw::Vector at = button->getMousePosition();
            heard.buttons.push_back(mouse(action.at(button->getMouseAction()), button->getMouseButton(),
                                          static_cast<int>(at.getX()), static_cast<int>(at.getY())));
        }
        return 1;
    }
    Heard heard;
};

class InputManagerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        bw::LogManager::getInstance().startUp();
        bw::WorldManager::getInstance().startUp();
        bw::DisplayManager::getInstance().startUp();
        InputManager::getInstance().startUp();
    }
    static void TearDownTestSuite() {
        InputManager::getInstance().shutDown();
        bw::DisplayManager::getInstance().shutDown();
        bw::LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(xdotool("version")) << "xdotool is needed to send input to the window";
        ASSERT_TRUE(input.isStarted());
        // Focus the window, retrying while it is still being mapped.
        bool focused = false;
        for (int attempt = 0; attempt < 20 && !focused; ++attempt) {
            focused = xdotool(ENGINE_WINDOW + "windowfocus --sync %1");
            if (!focused) waitForDelivery();
        }
        ASSERT_TRUE(focused) << "the window did not get the keyboard focus";
        // Whatever focusing produced (pointer crossing, focus events) is not part of a test.
        for (int i = 0; i < 5; ++i) {
            waitForDelivery();
            iterate();
        }
    }
    // Nothing stays down for the next test, even after a failure.
    void TearDown() override { xdotool("keyup 0 keyup d keyup Home mouseup 1 mouseup 2 mouseup 8"); }

    /// One loop iteration: a getInput call and what the recorder heard in it.
    Heard iterate() {
        recorder.heard = {};
        input.getInput();
        return recorder.heard;
    }

    /// Calls getInput every 10 ms, as the loop would, until a call delivers the wanted event, and
    /// returns that call. The calls before it go to `before`. Gives up after 3 seconds.
    Heard iterateUntil(const std::string& wanted, std::vector<Heard>* before = nullptr) {
        for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < deadline;) {
            const Heard it = iterate();
            if (it.has(wanted)) return it;
            if (before != nullptr) before->push_back(it);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "no getInput call delivered \"" << wanted << "\"";
        return {};
    }

    /// Lets the X server deliver everything just sent, so that it all lands in one iteration.
    static void waitForDelivery() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

    static std::unique_ptr<TempWorkDir> work_dir;
    InputManager& input = InputManager::getInstance();
    InputRecorder recorder;
};

std::unique_ptr<TempWorkDir> InputManagerWindowTest::work_dir;

TEST_F(InputManagerWindowTest, HeldKeysArePressedThenHeldEveryIterationInKeyOrderUntilReleased) {
    // Zero (66) goes down before D (34). Through the physical key: the layout's key code for zero
    // would name a different engine key.
    const bw::Key zero = bw::KEY_NUM0, d = bw::KEY_D;
    ASSERT_TRUE(xdotool("keydown 0"));
    EXPECT_THAT(iterateUntil(pressed(zero)).keys, ElementsAre(pressed(zero), held(zero)));
    ASSERT_TRUE(xdotool("keydown d"));
    EXPECT_THAT(iterateUntil(pressed(d)).keys, ElementsAre(pressed(d), held(d), held(zero)));
    // Well past the X server's key repeat delay: repeats must not show up as new presses.
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_THAT(iterate().keys, ElementsAre(held(d), held(zero))) << "iteration " << i;
    }
    ASSERT_TRUE(xdotool("keyup 0"));
    std::vector<Heard> before;
    EXPECT_THAT(iterateUntil(released(zero), &before).keys, ElementsAre(released(zero), held(d)));
    for (const Heard& it : before) EXPECT_THAT(it.keys, ElementsAre(held(d), held(zero)));
    ASSERT_TRUE(xdotool("keyup d"));
    EXPECT_THAT(iterateUntil(released(d)).keys, ElementsAre(released(d)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, KeyPressedAndReleasedWithinOneIterationIsNeverHeld) {
    // Home has no engine key: dropped, and nothing is held for it.
    ASSERT_TRUE(xdotool("keydown Home keydown Escape keyup Escape"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_ESCAPE)).keys,
                ElementsAre(pressed(bw::KEY_ESCAPE), released(bw::KEY_ESCAPE)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, MouseMovesPressesHoldsAndReleasesWithPositions) {
    const int none = bw::UNDEFINED_MOUSE_BUTTON, left = bw::BUTTON_LEFT, middle = bw::BUTTON_MIDDLE;
    const auto first = [](const std::string& action, int button) { return mouse(action, button, 100, 200); };
    const auto second = [](const std::string& action, int button) { return mouse(action, button, 300, 400); };
    ASSERT_TRUE(xdotool(ENGINE_WINDOW + "mousemove --sync --window %1 100 200"));
    EXPECT_EQ(iterateUntil(first(MOVED, none)).buttons.back(), first(MOVED, none));
    EXPECT_THAT(iterate().buttons, IsEmpty()) << "no button is held";

    // The extra button 8 is dropped.
    ASSERT_TRUE(xdotool("mousedown 8 mousedown 2"));
    EXPECT_THAT(iterateUntil(first(PRESSED, middle)).buttons,
                ElementsAre(first(PRESSED, middle), first(HELD, middle)));
    EXPECT_THAT(iterate().buttons, ElementsAre(first(HELD, middle)));
    // Held buttons come in button order, whatever the order of pressing.
    ASSERT_TRUE(xdotool("mousedown 1"));
    EXPECT_THAT(iterateUntil(first(PRESSED, left)).buttons,
                ElementsAre(first(PRESSED, left), first(HELD, left), first(HELD, middle)));

    // Dragging: the hold follows the pointer, not the place of the press.
    ASSERT_TRUE(xdotool(ENGINE_WINDOW + "mousemove --sync --window %1 300 400"));
    EXPECT_THAT(iterateUntil(second(MOVED, none)).buttons,
                ElementsAre(second(MOVED, none), second(HELD, left), second(HELD, middle)));

    ASSERT_TRUE(xdotool("mouseup 1 mouseup 8 mouseup 2"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(second(RELEASED, left)).buttons,
                ElementsAre(second(RELEASED, left), second(RELEASED, middle)));
    EXPECT_THAT(iterate().buttons, IsEmpty());
}

} // namespace
