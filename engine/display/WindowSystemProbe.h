#pragma once

namespace bw {

/// Finds out, before SFML tries, whether a window system can be reached. SFML ends the whole
/// program (std::abort) when it cannot reach an X server, so the display manager asks first and
/// turns a missing one into an ordinary start-up failure. The trial connection stays open for
/// the probe's lifetime: an X server with no clients left (a virtual one, typically) resets
/// itself and refuses connections for a moment, which would make SFML's own connection right
/// after ours fail. This is the only platform-specific code of the display; where there is no X
/// server to ask, a window system is taken to be there.
class WindowSystemProbe {
public:
    /// Connects to the window system named by the environment (DISPLAY on X11).
    WindowSystemProbe();
    /// Closes the trial connection.
    ~WindowSystemProbe();
    WindowSystemProbe(const WindowSystemProbe&) = delete;
    WindowSystemProbe& operator=(const WindowSystemProbe&) = delete;

    /// True when a window can be asked for.
    bool reachable() const;

private:
    void* library = nullptr;
    void* connection = nullptr;
    int (*close_connection)(void*) = nullptr;
};

} // namespace bw
