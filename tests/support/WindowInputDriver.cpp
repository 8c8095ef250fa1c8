#include "WindowInputDriver.h"

#include "DisplayManager.h"

#include <cstdlib>

namespace {

std::string findWindow() {
    return "search --name '^" + bw::WINDOW_TITLE_DEFAULT + "$' ";
}

} // namespace

bool WindowInputDriver::run(const std::string& arguments) {
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool WindowInputDriver::available() {
    return run("version");
}

bool WindowInputDriver::focusWindow() {
    return run(findWindow() + "windowfocus --sync %1");
}

bool WindowInputDriver::keyDown(const std::string& key) {
    return run("keydown " + key);
}

bool WindowInputDriver::keyUp(const std::string& key) {
    return run("keyup " + key);
}

bool WindowInputDriver::moveMouse(int x, int y) {
    return run(findWindow() + "mousemove --sync --window %1 " + std::to_string(x) + " " + std::to_string(y));
}

bool WindowInputDriver::buttonDown(int button) {
    return run("mousedown " + std::to_string(button));
}

bool WindowInputDriver::buttonUp(int button) {
    return run("mouseup " + std::to_string(button));
}
