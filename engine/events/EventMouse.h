#pragma once

#include "Event.h"
#include "Vector.h"

namespace bw {

inline const std::string EVENT_TYPE_MOUSE = "bw::mouse";

enum MouseAction {
    UNDEFINED_MOUSE_ACTION = -1,
    MOUSE_PRESSED = 0,
    MOUSE_RELEASED = 1,
    MOUSE_HELD = 2,
    MOUSE_MOVED = 3,
};

enum MouseButton {
    UNDEFINED_MOUSE_BUTTON = -1,
    BUTTON_LEFT = 0,
    BUTTON_RIGHT = 1,
    BUTTON_MIDDLE = 2,
};

/// Number of mouse buttons the engine knows.
constexpr int MOUSE_BUTTON_COUNT = 3;

/// A mouse press, release, hold or move, broadcast to every object. The position is in window
/// pixels from the top-left corner.
class EventMouse : public Event {
public:
    EventMouse() { setType(EVENT_TYPE_MOUSE); }
    EventMouse(MouseAction action, MouseButton button, Vector position)
        : action(action), button(button), position(position) {
        setType(EVENT_TYPE_MOUSE);
    }

    MouseAction getMouseAction() const { return action; }
    void setMouseAction(MouseAction new_action) { action = new_action; }
    MouseButton getMouseButton() const { return button; }
    void setMouseButton(MouseButton new_button) { button = new_button; }
    Vector getMousePosition() const { return position; }
    void setMousePosition(Vector new_position) { position = new_position; }

private:
    MouseAction action = UNDEFINED_MOUSE_ACTION;
    MouseButton button = UNDEFINED_MOUSE_BUTTON;
    Vector position;
};

} // namespace bw
