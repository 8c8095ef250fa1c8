#pragma once

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Manager.h"

#include <array>
#include <map>

namespace bw {

/// Turns the window's input into keyboard and mouse events, broadcast to every object once per
/// iteration, and reports every key and button that is down with a held event.
class InputManager : public Manager {
public:
    static InputManager& getInstance();

    /// Needs a started display manager (-1 and an error line otherwise); turns key repeat off.
    int startUp() override;
    /// Turns key repeat back on.
    void shutDown() override;

    /// Drains the window's events, broadcasting presses, releases and moves in arrival order,
    /// then KEY_HELD for every key down (in key order), then MOUSE_HELD for every button down.
    void getInput();

    /// Engine key for an SFML scancode (as int); UNDEFINED_KEY for keys the engine lacks.
    Key translateKey(int scancode) const;
    /// Engine button for an SFML mouse button (as int); UNDEFINED_MOUSE_BUTTON when unknown.
    MouseButton translateButton(int button) const;

private:
    InputManager();

    std::map<int, int> key_table;
    std::map<int, int> button_table;
    std::array<bool, KEY_COUNT> key_down{};
    std::array<bool, MOUSE_BUTTON_COUNT> button_down{};
};

} // namespace bw
