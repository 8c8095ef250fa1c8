#pragma once

#include <cstdlib>
#include <optional>
#include <string>

/// Points the DISPLAY variable somewhere else (an empty value removes it) for the object's
/// lifetime, so that a test can start the display manager without a reachable X server. The
/// previous value comes back afterwards. The only place where tests change the environment.
class WindowDisplayOverride {
public:
    explicit WindowDisplayOverride(const std::string& value) {
        if (const char* current = std::getenv("DISPLAY")) previous = current;
        set(value);
    }
    ~WindowDisplayOverride() { set(previous); }
    WindowDisplayOverride(const WindowDisplayOverride&) = delete;
    WindowDisplayOverride& operator=(const WindowDisplayOverride&) = delete;

private:
    static void set(const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s("DISPLAY", value ? value->c_str() : "");
#else
        if (value && !value->empty()) setenv("DISPLAY", value->c_str(), 1);
        else unsetenv("DISPLAY");
#endif
    }

    std::optional<std::string> previous;
};
