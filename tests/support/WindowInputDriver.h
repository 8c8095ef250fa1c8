#pragma once

#include <string>

/// Sends real input to the engine's window through the X server with xdotool, the way a person
/// at the keyboard and mouse would. Every call returns true when xdotool succeeded. Key names
/// are X key names ("w", "Left", "Escape", "KP_Subtract"); buttons are X buttons (1 left,
/// 2 middle, 3 right, 8 and 9 the extra ones).
class WindowInputDriver {
public:
    /// True when xdotool can be run at all.
    static bool available();
    /// Gives the window titled "VelloranBrackwen" the keyboard focus and waits until it has it.
    static bool focusWindow();
    /// Runs xdotool with these arguments, its output discarded.
    static bool run(const std::string& arguments);

    static bool keyDown(const std::string& key);
    static bool keyUp(const std::string& key);
    /// Moves the pointer to (x, y) pixels inside the window and waits until it is there.
    static bool moveMouse(int x, int y);
    static bool buttonDown(int button);
    static bool buttonUp(int button);
};
