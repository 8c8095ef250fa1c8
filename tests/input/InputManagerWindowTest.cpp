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

#include <X11/XKBlib.h>

using ::testing::ElementsAre;

namespace {

/// Runs xdotool with these arguments; "%1" names the engine's window.
bool xdotool(std::string arguments) {
    if (arguments.find("%1") != std::string::npos)
        arguments = "search --sync --name '^" + bw::WINDOW_TITLE_DEFAULT + "$' " + arguments;
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

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
    /// Sends input, then calls getInput as the loop would until a call delivers the first event
    /// expected (the X server takes a moment; giving up after 3 seconds); that call must deliver
    /// exactly the events expected, and the calls before it what an idle call did before: the holds.
    void after(const std::string& input, const std::vector<std::string>& expected) {
        const std::vector<std::string> idle = iterate();
        EXPECT_TRUE(xdotool(input)) << input;
        for (int i = 0; i < 1000 && std::ranges::count(iterate(), expected[0]) == 0; ++i) {
            EXPECT_EQ(heard, idle) << "waiting for " << expected[0];
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        EXPECT_EQ(heard, expected) << input;
    }
    std::vector<std::string> heard;
};

TEST(InputManagerWindowTest, KeysAndButtonsArePressedHeldEveryIterationInOrderAndReleased) {
    ASSERT_TRUE(xdotool("version")) << "xdotool is needed to send input to the window";
    const TempWorkDir dir;
    bw::LogManager::getInstance().startUp();
    ASSERT_EQ(bw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(bw::InputManager::getInstance().startUp(), 0);
    // Nothing stays down for the tests after this one, even after a failure, and the X server's
    // key repeat, made quick for this test (after 10 ms, every 5 ms), is put back as it was.
    struct Restore {
        Display* x = XOpenDisplay(nullptr);
        unsigned delay = 660, interval = 40; // the X server's defaults
        ~Restore() {
            xdotool("keyup 0 keyup d keyup Home mouseup 1 mouseup 2 mouseup 8");
            XkbSetAutoRepeatRate(x, XkbUseCoreKbd, delay, interval);
            XCloseDisplay(x);
        }
    } restore;
    ASSERT_TRUE(XkbGetAutoRepeatRate(restore.x, XkbUseCoreKbd, &restore.delay, &restore.interval));
    XkbSetAutoRepeatRate(restore.x, XkbUseCoreKbd, 10, 5);
    XSync(restore.x, False);
    ASSERT_TRUE(xdotool("windowfocus --sync %1")) << "the window did not get the keyboard focus";
    InputRecorder heard;

    // Keys and buttons the engine does not know (Home, the extra button 8) are dropped, and nothing
    // is held for them. Zero, the last key, goes down before D: held keys come in key order.
    // Through the physical key: the layout's key code for zero would name another key.
    const bw::Key zero = bw::KEY_NUM0, d = bw::KEY_D;
    const std::string held_zero = key(bw::KEY_HELD, zero), held_d = key(bw::KEY_HELD, d);
    heard.after("keydown Home keydown 0", {key(bw::KEY_PRESSED, zero), held_zero});
    heard.after("keydown d", {key(bw::KEY_PRESSED, d), held_d, held_zero});
    // Held past the X server's key repeat delay, keys must not come again as new presses.
    for (int i = 0; i < 10; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(3)))
        ASSERT_THAT(heard.iterate(), ElementsAre(held_d, held_zero)) << "iteration " << i;
    heard.after("keyup 0", {key(bw::KEY_RELEASED, zero), held_d});
    heard.after("keyup d", {key(bw::KEY_RELEASED, d)});

    const int none = bw::UNDEFINED_MOUSE_BUTTON, left = bw::BUTTON_LEFT, middle = bw::BUTTON_MIDDLE;
    heard.after("mousemove --sync --window %1 100 200", {mouse(bw::MOUSE_MOVED, none, {100, 200})});
    // Held buttons come in button order, whatever the order of pressing.
    heard.after("mousedown 8 mousedown 2",
                {mouse(bw::MOUSE_PRESSED, middle, {100, 200}), mouse(bw::MOUSE_HELD, middle, {100, 200})});
    heard.after("mousedown 1", {mouse(bw::MOUSE_PRESSED, left, {100, 200}), mouse(bw::MOUSE_HELD, left, {100, 200}),
                                mouse(bw::MOUSE_HELD, middle, {100, 200})});
    // Dragging: the hold follows the pointer, not the place of the press.
    heard.after("mousemove --sync --window %1 300 400", {mouse(bw::MOUSE_MOVED, none, {300, 400}),
                mouse(bw::MOUSE_HELD, left, {300, 400}), mouse(bw::MOUSE_HELD, middle, {300, 400})});
    heard.after("mouseup 1", {mouse(bw::MOUSE_RELEASED, left, {300, 400}), mouse(bw::MOUSE_HELD, middle, {300, 400})});
    heard.after("mouseup 8 mouseup 2", {mouse(bw::MOUSE_RELEASED, middle, {300, 400})});

    bw::InputManager::getInstance().shutDown();
    EXPECT_FALSE(bw::InputManager::getInstance().isStarted());
    bw::DisplayManager::getInstance().shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
