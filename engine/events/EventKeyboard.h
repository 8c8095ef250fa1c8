#pragma once

#include "Event.h"

namespace bw {

inline const std::string EVENT_TYPE_KEYBOARD = "bw::keyboard";

/// What happened to a key. KEY_HELD comes once per iteration for every key that is down.
enum KeyboardAction {
    UNDEFINED_KEYBOARD_ACTION = -1,
    KEY_HELD = 0,
    KEY_RELEASED = 1,
    KEY_PRESSED = 2,
};

/// The engine's keys, by physical position.
enum Key {
    UNDEFINED_KEY = -1,
    KEY_SPACE = 0, KEY_ENTER, KEY_ESCAPE, KEY_TAB, KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_PAUSE,
    KEY_NUMPAD_MINUS, KEY_NUMPAD_PLUS, KEY_GRAVE, KEY_PERIOD, KEY_COMMA, KEY_SLASH,
    KEY_LEFT_CONTROL, KEY_RIGHT_CONTROL, KEY_LEFT_SHIFT, KEY_RIGHT_SHIFT,
    KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12,
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
    KEY_NUM1, KEY_NUM2, KEY_NUM3, KEY_NUM4, KEY_NUM5, KEY_NUM6, KEY_NUM7, KEY_NUM8, KEY_NUM9,
    KEY_NUM0,
};

/// Number of keys the engine knows (KEY_SPACE to KEY_NUM0).
constexpr int KEY_COUNT = 67;

/// A key press, release or hold, broadcast to every object.
class EventKeyboard : public Event {
public:
    EventKeyboard() { setType(EVENT_TYPE_KEYBOARD); }
    EventKeyboard(Key key, KeyboardAction action) : key(key), action(action) { setType(EVENT_TYPE_KEYBOARD); }

    Key getKey() const { return key; }
    void setKey(Key new_key) { key = new_key; }
    KeyboardAction getKeyboardAction() const { return action; }
    void setKeyboardAction(KeyboardAction new_action) { action = new_action; }

private:
    Key key = UNDEFINED_KEY;
    KeyboardAction action = UNDEFINED_KEYBOARD_ACTION;
};

} // namespace bw
