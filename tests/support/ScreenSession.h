#pragma once

#include "ScreenShot.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/// The built game (the run folder's tarnwick) running as a separate process on the test's X
/// server, driven the way a player would: real key presses to its window through xdotool, and
/// screenshots of the window through ImageMagick's import. Runs only where a shell, xdotool and
/// import are available (the toolchain's Linux root); the game process is ended by its id if a
/// test leaves it running.
class ScreenSession {
public:
    /// True when xdotool and import can be run.
    static bool toolsAvailable();
    /// Copies the built run folder (the executable, fonts, sprites, audio; not its log) into
    /// folder, leaving out the paths in skip (relative to the run folder). False when the run
    /// folder has no executable.
    static bool copyRunFolder(const std::filesystem::path& folder, const std::vector<std::string>& skip = {});

    /// A session for the game in folder (a copy of the run folder); nothing starts yet.
    explicit ScreenSession(std::filesystem::path folder) : dir(std::move(folder)) {}
    /// Ends the game if it still runs.
    ~ScreenSession();
    ScreenSession(const ScreenSession&) = delete;
    ScreenSession& operator=(const ScreenSession&) = delete;

    /// Starts ./tarnwick inside the folder, its standard error kept in a file. environment is
    /// put in front of the command (for example "env -u DISPLAY").
    bool start(const std::string& environment = "");
    /// Waits up to seconds for the game's window to be shown, then gives it the keyboard focus.
    bool waitForWindow(double seconds);
    /// Presses and releases a key (an X key name: "w", "Escape", "d").
    bool tap(const std::string& key);
    /// A picture of the game's window; invalid when none could be taken.
    ScreenShot screenshot();
    /// Takes screenshots until one passes test, for up to seconds; the last one taken.
    ScreenShot waitForScreen(double seconds, const std::function<bool(const ScreenShot&)>& test);
    /// The exit status once the game has ended, waiting up to seconds; empty while it still runs.
    std::optional<int> waitForExit(double seconds);

    /// What the game wrote to standard error.
    std::string standardError() const { return readFile("game.err"); }
    /// The game's log messages (time stamps cut off), read now.
    std::vector<std::string> logLines() const;
    const std::filesystem::path& folder() const { return dir; }

private:
    std::string readFile(const std::string& name) const;

    std::filesystem::path dir;
    std::string window_id;
    bool started = false;
    int shot_count = 0;
};
