#pragma once

#include <optional>
#include <string>

/// Points the DISPLAY variable somewhere else (an empty value removes it) for the object's
/// lifetime, so that a test can start the display manager without a reachable X server. The
/// previous value comes back afterwards. The only place where tests change the environment.
class WindowDisplayOverride {
public:
    explicit WindowDisplayOverride(const std::string& value);
    ~WindowDisplayOverride();
    WindowDisplayOverride(const WindowDisplayOverride&) = delete;
    WindowDisplayOverride& operator=(const WindowDisplayOverride&) = delete;

private:
    std::optional<std::string> previous;
};
