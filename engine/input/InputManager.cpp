#include "InputManager.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <array>
#include <optional>

namespace bw {

namespace {

using Scan = sf::Keyboard::Scancode;

// Keys that follow each other in the engine's numbering, listed from their first engine key.
constexpr std::array<Scan, 12> FUNCTION_KEYS = {Scan::F1, Scan::F2,  Scan::F3,  Scan::F4,
                                                Scan::F5, Scan::F6,  Scan::F7,  Scan::F8,
                                                Scan::F9, Scan::F10, Scan::F11, Scan::F12};
constexpr std::array<Scan, 26> LETTER_KEYS = {Scan::A, Scan::B, Scan::C, Scan::D, Scan::E, Scan::F, Scan::G,
                                              Scan::H, Scan::I, Scan::J, Scan::K, Scan::L, Scan::M, Scan::N,
                                              Scan::O, Scan::P, Scan::Q, Scan::R, Scan::S, Scan::T, Scan::U,
                                              Scan::V, Scan::W, Scan::X, Scan::Y, Scan::Z};
constexpr std::array<Scan, 10> DIGIT_KEYS = {Scan::Num1, Scan::Num2, Scan::Num3, Scan::Num4, Scan::Num5,
                                             Scan::Num6, Scan::Num7, Scan::Num8, Scan::Num9, Scan::Num0};

Vector toVector(sf::Vector2i position) {
    return {static_cast<float>(position.x), static_cast<float>(position.y)};
}

} // namespace

InputManager& InputManager::getInstance() {
    static InputManager instance;
    return instance;
}

InputManager::InputManager() {
    const auto add = [this](Scan scancode, int key) { key_table[static_cast<int>(scancode)] = key; };
    add(Scan::Space, KEY_SPACE);
    add(Scan::Enter, KEY_ENTER);
    add(Scan::Escape, KEY_ESCAPE);
    add(Scan::Tab, KEY_TAB);
    add(Scan::Left, KEY_LEFT);
    add(Scan::Right, KEY_RIGHT);
    add(Scan::Up, KEY_UP);
    add(Scan::Down, KEY_DOWN);
    add(Scan::Pause, KEY_PAUSE);
    add(Scan::NumpadMinus, KEY_NUMPAD_MINUS);
    add(Scan::NumpadPlus, KEY_NUMPAD_PLUS);
    add(Scan::Grave, KEY_GRAVE);
    add(Scan::Period, KEY_PERIOD);
    add(Scan::Comma, KEY_COMMA);
    add(Scan::Slash, KEY_SLASH);
    add(Scan::LControl, KEY_LEFT_CONTROL);
    add(Scan::RControl, KEY_RIGHT_CONTROL);
    add(Scan::LShift, KEY_LEFT_SHIFT);
    add(Scan::RShift, KEY_RIGHT_SHIFT);
    for (std::size_t i = 0; i < FUNCTION_KEYS.size(); ++i)
        add(FUNCTION_KEYS[i], KEY_F1 + static_cast<int>(i));
    for (std::size_t i = 0; i < LETTER_KEYS.size(); ++i)
        add(LETTER_KEYS[i], KEY_A + static_cast<int>(i));
    for (std::size_t i = 0; i < DIGIT_KEYS.size(); ++i)
        add(DIGIT_KEYS[i], KEY_NUM1 + static_cast<int>(i));

    button_table[static_cast<int>(sf::Mouse::Button::Left)] = BUTTON_LEFT;
    button_table[static_cast<int>(sf::Mouse::Button::Right)] = BUTTON_RIGHT;
    button_table[static_cast<int>(sf::Mouse::Button::Middle)] = BUTTON_MIDDLE;
}

int InputManager::startUp() {
    DisplayManager& display = DisplayManager::getInstance();
    if (!display.isStarted() || display.getWindow() == nullptr) {
        LogManager::getInstance().writeLog(0, "ERROR: InputManager started before DisplayManager");
        return -1;
    }
    // One press event per physical press; holding is reported by KEY_HELD instead.
    display.getWindow()->setKeyRepeatEnabled(false);
    setStarted(true);
    return 0;
}

void InputManager::shutDown() {
    if (sf::RenderWindow* window = DisplayManager::getInstance().getWindow())
        window->setKeyRepeatEnabled(true);
    setStarted(false);
}

// Keys and buttons the engine does not know (any scancode outside the table, Scancode::Unknown,
// the extra mouse buttons) are dropped: they send no event and never touch the down arrays.
// Reporting them as some real key would make, say, Home act as the space bar.
Key InputManager::translateKey(int scancode) const {
    const auto found = key_table.find(scancode);
    return found == key_table.end() ? UNDEFINED_KEY : static_cast<Key>(found->second);
}

MouseButton InputManager::translateButton(int button) const {
    const auto found = button_table.find(button);
    return found == button_table.end() ? UNDEFINED_MOUSE_BUTTON : static_cast<MouseButton>(found->second);
}

void InputManager::getInput() {
    const DisplayManager& display = DisplayManager::getInstance();
    if (display.getInputWindow() == nullptr) return;
    // A press and a release differ only in the action and in what is remembered: a key's state
    // before its event, a button's after it. Keys and buttons the engine does not know are skipped.
    const auto sendKey = [this](Scan scancode, KeyboardAction action) {
        const Key key = translateKey(static_cast<int>(scancode));
        if (key == UNDEFINED_KEY) return;
        key_down[key] = action == KEY_PRESSED;
        const EventKeyboard keyboard(key, action);
        onEvent(&keyboard);
    };
    const auto sendButton = [this](sf::Mouse::Button which, sf::Vector2i position, MouseAction action) {
        const MouseButton button = translateButton(static_cast<int>(which));
        if (button == UNDEFINED_MOUSE_BUTTON) return;
        const EventMouse mouse(action, button, toVector(position));
        onEvent(&mouse);
        button_down[button] = action == MOUSE_PRESSED;
    };
    // The window is fetched again for every event: a handler may have shut the display down.
    while (sf::WindowBase* window = display.getInputWindow()) {
        const std::optional<sf::Event> event = window->pollEvent();
        if (!event) break;
        if (const auto* pressed = event->getIf<sf::Event::KeyPressed>()) {
            sendKey(pressed->scancode, KEY_PRESSED);
        } else if (const auto* released = event->getIf<sf::Event::KeyReleased>()) {
            sendKey(released->scancode, KEY_RELEASED);
        } else if (const auto* button_pressed = event->getIf<sf::Event::MouseButtonPressed>()) {
            sendButton(button_pressed->button, button_pressed->position, MOUSE_PRESSED);
        } else if (const auto* button_released = event->getIf<sf::Event::MouseButtonReleased>()) {
            sendButton(button_released->button, button_released->position, MOUSE_RELEASED);
        } else if (const auto* moved = event->getIf<sf::Event::MouseMoved>()) {
            const EventMouse mouse(MOUSE_MOVED, UNDEFINED_MOUSE_BUTTON, toVector(moved->position));
            onEvent(&mouse);
        }
        // Everything else (closing, resizing, focus, text, wheel, joystick, touch, sensor) is
        // ignored: the window stays open until the display manager shuts it down.
    }

    for (int key = 0; key < KEY_COUNT; ++key) {
        if (!key_down[key]) continue;
        const EventKeyboard keyboard(static_cast<Key>(key), KEY_HELD);
        onEvent(&keyboard);
    }

    const sf::WindowBase* window = display.getInputWindow();
    if (window == nullptr) return;
    const Vector pointer = toVector(sf::Mouse::getPosition(*window));
    for (int button = 0; button < MOUSE_BUTTON_COUNT; ++button) {
        if (!button_down[button]) continue;
        const EventMouse mouse(MOUSE_HELD, static_cast<MouseButton>(button), pointer);
        onEvent(&mouse);
    }
}

} // namespace bw
