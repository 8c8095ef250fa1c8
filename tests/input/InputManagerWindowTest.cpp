// The input manager with real input: xdotool presses keys and buttons on the window through the
// X server, and an object in the world records the events each getInput call delivers.
#include "InputManager.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowInputDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using bw::InputManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string keyboard(bw::Key key, bw::KeyboardAction action) {
    const char* names[] = {"held", "released", "pressed"};
    return "key " + std::to_string(key) + " " + (action >= 0 && action <= 2 ? names[action] : "?");
}
std::string pressed(bw::Key key) {
    return keyboard(key, bw::KEY_PRESSED);
}
std::string held(bw::Key key) {
    return keyboard(key, bw::KEY_HELD);
}
std::string released(bw::Key key) {
    return keyboard(key, bw::KEY_RELEASED);
}

std::string mouse(bw::MouseAction action, bw::MouseButton button, int x, int y) {
    const char* names[] = {"pressed", "released", "held", "moved"};
    return std::string("mouse ") + (action >= 0 && action <= 3 ? names[action] : "?") + " button " +
           std::to_string(button) + " at " + std::to_string(x) + "," + std::to_string(y);
}

/// Records what it hears, as text, keyboard and mouse apart; the test reads them per getInput.
class InputRecorder : public bw::Object {
public:
    InputRecorder() { setType("InputRecorder"); }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() == bw::EVENT_TYPE_KEYBOARD) {
            const auto* key_event = static_cast<const bw::EventKeyboard*>(event);
            keys.push_back(keyboard(key_event->getKey(), key_event->getKeyboardAction()));
            return 1;
        }
        if (event->getType() == bw::EVENT_TYPE_MOUSE) {
            const auto* mouse_event = static_cast<const bw::EventMouse*>(event);
            const bw::Vector at = mouse_event->getMousePosition();
            // Positions are whole window pixels; a fraction would show up as a mismatch.
            const bool whole = at.getX() == static_cast<float>(static_cast<int>(at.getX())) &&
                               at.getY() == static_cast<float>(static_cast<int>(at.getY()));
            buttons.push_back(mouse(mouse_event->getMouseAction(), mouse_event->getMouseButton(),
                                    static_cast<int>(at.getX()), static_cast<int>(at.getY())) +
                              (whole ? "" : " (fraction)"));
            return 1;
        }
        return 0;
    }
    std::vector<std::string> keys;
    std::vector<std::string> buttons;
};

/// What one getInput call delivered.
struct Iteration {
    std::vector<std::string> keys;
    std::vector<std::string> buttons;
};

class InputManagerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        bw::LogManager::getInstance().setLogLevel(-1);
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
        ASSERT_TRUE(WindowInputDriver::available()) << "xdotool is needed to send input to the window";
        ASSERT_NE(bw::DisplayManager::getInstance().getWindow(), nullptr);
        ASSERT_TRUE(InputManager::getInstance().isStarted());
        ASSERT_TRUE(focus()) << "the window did not get the keyboard focus";
        recorder = std::make_unique<InputRecorder>();
        // Whatever focusing produced (pointer crossing, focus events) is not part of a test.
        settle();
    }
    void TearDown() override { recorder.reset(); }

    /// Gives the window the keyboard focus, retrying while it is still being mapped.
    static bool focus() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (WindowInputDriver::focusWindow()) return true;
            InputManager::getInstance().getInput();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    /// Lets pending input arrive and drains it.
    void settle() {
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
            iterate();
        }
    }

    /// One loop iteration's input: a getInput call and what the recorder heard in it.
    Iteration iterate() {
        recorder->keys.clear();
        recorder->buttons.clear();
        input.getInput();
        return {recorder->keys, recorder->buttons};
    }

    /// Calls getInput every 10 ms, as the loop would, until a call delivers the wanted event, and
    /// returns that call. The calls before it are kept in `before`. Gives up after 3 seconds.
    Iteration iterateUntil(const std::string& wanted, std::vector<Iteration>* before = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            Iteration it = iterate();
            const auto contains = [&](const std::vector<std::string>& events) {
                return std::find(events.begin(), events.end(), wanted) != events.end();
            };
            if (contains(it.keys) || contains(it.buttons)) return it;
            if (before != nullptr) before->push_back(it);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "no getInput call delivered \"" << wanted << "\"";
        return {};
    }

    /// Lets the X server deliver everything just sent before the next getInput, so that it all
    /// lands in one iteration.
    static void waitForDelivery() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }

    static std::unique_ptr<TempWorkDir> work_dir;
    InputManager& input = InputManager::getInstance();
    std::unique_ptr<InputRecorder> recorder;
};

std::unique_ptr<TempWorkDir> InputManagerWindowTest::work_dir;

TEST_F(InputManagerWindowTest, HeldKeyIsPressedAndHeldThenHeldEachIterationThenReleased) {
    ASSERT_TRUE(WindowInputDriver::keyDown("w"));
    // The press and the first hold come in the same call.
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_W)).keys, ElementsAre(pressed(bw::KEY_W), held(bw::KEY_W)));
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_THAT(iterate().keys, ElementsAre(held(bw::KEY_W))) << "iteration " << i;
    }

    ASSERT_TRUE(WindowInputDriver::keyUp("w"));
    std::vector<Iteration> before_release;
    EXPECT_THAT(iterateUntil(released(bw::KEY_W), &before_release).keys, ElementsAre(released(bw::KEY_W)));
    for (const Iteration& it : before_release)
        EXPECT_THAT(it.keys, ElementsAre(held(bw::KEY_W)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, KeyHeldLongerThanTheRepeatDelayIsPressedOnce) {
    ASSERT_TRUE(WindowInputDriver::keyDown("Left"));
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_LEFT)).keys,
                ElementsAre(pressed(bw::KEY_LEFT), held(bw::KEY_LEFT)));
    // Well past the X server's key repeat delay: repeats must not show up as new presses.
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_THAT(iterate().keys, ElementsAre(held(bw::KEY_LEFT))) << "iteration " << i;
    }
    ASSERT_TRUE(WindowInputDriver::keyUp("Left"));
    EXPECT_THAT(iterateUntil(released(bw::KEY_LEFT)).keys, ElementsAre(released(bw::KEY_LEFT)));
}

TEST_F(InputManagerWindowTest, PressAndReleaseWithinOneIterationAreNeverHeld) {
    ASSERT_TRUE(WindowInputDriver::run("keydown a keyup a"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_A)).keys, ElementsAre(pressed(bw::KEY_A), released(bw::KEY_A)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, TwoHeldKeysAreReportedInKeyOrderWhateverTheOrderOfPressing) {
    // D (34) goes down before A (31).
    ASSERT_TRUE(WindowInputDriver::keyDown("d"));
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_D)).keys, ElementsAre(pressed(bw::KEY_D), held(bw::KEY_D)));
    ASSERT_TRUE(WindowInputDriver::keyDown("a"));
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_A)).keys,
                ElementsAre(pressed(bw::KEY_A), held(bw::KEY_A), held(bw::KEY_D)));
    EXPECT_THAT(iterate().keys, ElementsAre(held(bw::KEY_A), held(bw::KEY_D)));

    ASSERT_TRUE(WindowInputDriver::keyUp("d"));
    EXPECT_THAT(iterateUntil(released(bw::KEY_D)).keys, ElementsAre(released(bw::KEY_D), held(bw::KEY_A)));
    ASSERT_TRUE(WindowInputDriver::keyUp("a"));
    EXPECT_THAT(iterateUntil(released(bw::KEY_A)).keys, ElementsAre(released(bw::KEY_A)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, KeysArriveInTheOrderTheyWereTyped) {
    ASSERT_TRUE(WindowInputDriver::run("key Escape key space key F12 key 0 key KP_Subtract key slash"));
    waitForDelivery();
    std::vector<Iteration> calls;
    calls.push_back(iterateUntil(released(bw::KEY_SLASH), &calls));
    std::vector<std::string> typed;
    for (const Iteration& it : calls)
        typed.insert(typed.end(), it.keys.begin(), it.keys.end());
    EXPECT_THAT(typed,
                ElementsAre(pressed(bw::KEY_ESCAPE), released(bw::KEY_ESCAPE), pressed(bw::KEY_SPACE),
                            released(bw::KEY_SPACE), pressed(bw::KEY_F12), released(bw::KEY_F12),
                            pressed(bw::KEY_NUM0), released(bw::KEY_NUM0), pressed(bw::KEY_NUMPAD_MINUS),
                            released(bw::KEY_NUMPAD_MINUS), pressed(bw::KEY_SLASH), released(bw::KEY_SLASH)));
}

TEST_F(InputManagerWindowTest, KeysOutsideTheTableAreDropped) {
    // Home and Backspace have no engine key: no event, and nothing held for them.
    ASSERT_TRUE(WindowInputDriver::run("keydown Home keydown BackSpace keydown s"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_S)).keys, ElementsAre(pressed(bw::KEY_S), held(bw::KEY_S)));
    EXPECT_THAT(iterate().keys, ElementsAre(held(bw::KEY_S)));
    ASSERT_TRUE(WindowInputDriver::run("keyup BackSpace keyup Home keyup s"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(released(bw::KEY_S)).keys, ElementsAre(released(bw::KEY_S)));
    EXPECT_THAT(iterate().keys, IsEmpty());
}

TEST_F(InputManagerWindowTest, KeyEventsReachEveryObjectInListOrder) {
    std::vector<std::string> order;
    struct Listener : bw::Object {
        Listener(std::vector<std::string>& order, std::string name) : order(order), name(std::move(name)) {}
        int eventHandler(const bw::Event* event) override {
            if (event->getType() == bw::EVENT_TYPE_KEYBOARD) order.push_back(name);
            return 0;
        }
        std::vector<std::string>& order;
        std::string name;
    };
    const Listener first(order, "first");
    const Listener second(order, "second");
    ASSERT_TRUE(WindowInputDriver::run("keydown Escape keyup Escape"));
    waitForDelivery();
    iterateUntil(pressed(bw::KEY_ESCAPE));
    // The recorder entered the world first; the two listeners hear press and release after it.
    EXPECT_THAT(order, ElementsAre("first", "second", "first", "second"));
    EXPECT_GE(countLogLines("Sending event of type \"bw::keyboard\" to 3 objects"), 2);
}

TEST_F(InputManagerWindowTest, MouseMovesPressesHoldsAndReleasesWithPositions) {
    ASSERT_TRUE(WindowInputDriver::moveMouse(100, 200));
    Iteration moved = iterateUntil(mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 100, 200));
    EXPECT_THAT(moved.buttons.back(), mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 100, 200));
    EXPECT_THAT(iterate().buttons, IsEmpty()) << "no button is held";

    ASSERT_TRUE(WindowInputDriver::buttonDown(1));
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, 100, 200)).buttons,
                ElementsAre(mouse(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, 100, 200),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_LEFT, 100, 200)));
    EXPECT_THAT(iterate().buttons, ElementsAre(mouse(bw::MOUSE_HELD, bw::BUTTON_LEFT, 100, 200)));

    // Dragging: the hold follows the pointer, not the place of the press.
    ASSERT_TRUE(WindowInputDriver::moveMouse(300, 400));
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 300, 400)).buttons,
                ElementsAre(mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 300, 400),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_LEFT, 300, 400)));
    EXPECT_THAT(iterate().buttons, ElementsAre(mouse(bw::MOUSE_HELD, bw::BUTTON_LEFT, 300, 400)));

    ASSERT_TRUE(WindowInputDriver::buttonUp(1));
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_RELEASED, bw::BUTTON_LEFT, 300, 400)).buttons,
                ElementsAre(mouse(bw::MOUSE_RELEASED, bw::BUTTON_LEFT, 300, 400)));
    EXPECT_THAT(iterate().buttons, IsEmpty());
}

TEST_F(InputManagerWindowTest, HeldButtonsAreReportedInButtonOrder) {
    ASSERT_TRUE(WindowInputDriver::moveMouse(40, 50));
    iterateUntil(mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 40, 50));
    // X button 2 is the middle one, 3 the right one; middle goes down first.
    ASSERT_TRUE(WindowInputDriver::buttonDown(2));
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_PRESSED, bw::BUTTON_MIDDLE, 40, 50)).buttons,
                ElementsAre(mouse(bw::MOUSE_PRESSED, bw::BUTTON_MIDDLE, 40, 50),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_MIDDLE, 40, 50)));
    ASSERT_TRUE(WindowInputDriver::buttonDown(3));
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_PRESSED, bw::BUTTON_RIGHT, 40, 50)).buttons,
                ElementsAre(mouse(bw::MOUSE_PRESSED, bw::BUTTON_RIGHT, 40, 50),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_RIGHT, 40, 50),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_MIDDLE, 40, 50)));
    ASSERT_TRUE(WindowInputDriver::run("mouseup 2 mouseup 3"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_RELEASED, bw::BUTTON_MIDDLE, 40, 50)).buttons,
                ElementsAre(mouse(bw::MOUSE_RELEASED, bw::BUTTON_MIDDLE, 40, 50),
                            mouse(bw::MOUSE_RELEASED, bw::BUTTON_RIGHT, 40, 50)));
    EXPECT_THAT(iterate().buttons, IsEmpty());
}

TEST_F(InputManagerWindowTest, ExtraMouseButtonsAreDropped) {
    ASSERT_TRUE(WindowInputDriver::moveMouse(60, 70));
    iterateUntil(mouse(bw::MOUSE_MOVED, bw::UNDEFINED_MOUSE_BUTTON, 60, 70));
    // X button 8 is SFML's first extra button; the left press after it marks where to look.
    ASSERT_TRUE(WindowInputDriver::run("mousedown 8 mousedown 1"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, 60, 70)).buttons,
                ElementsAre(mouse(bw::MOUSE_PRESSED, bw::BUTTON_LEFT, 60, 70),
                            mouse(bw::MOUSE_HELD, bw::BUTTON_LEFT, 60, 70)));
    ASSERT_TRUE(WindowInputDriver::run("mouseup 8 mouseup 1"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(mouse(bw::MOUSE_RELEASED, bw::BUTTON_LEFT, 60, 70)).buttons,
                ElementsAre(mouse(bw::MOUSE_RELEASED, bw::BUTTON_LEFT, 60, 70)));
}

TEST_F(InputManagerWindowTest, ShutDownAndStartUpAgainKeepWorking) {
    input.shutDown();
    EXPECT_FALSE(input.isStarted());
    EXPECT_EQ(input.startUp(), 0);
    EXPECT_TRUE(input.isStarted());
    ASSERT_TRUE(WindowInputDriver::run("keydown z keyup z"));
    waitForDelivery();
    EXPECT_THAT(iterateUntil(pressed(bw::KEY_Z)).keys, ElementsAre(pressed(bw::KEY_Z), released(bw::KEY_Z)));
}

} // namespace
