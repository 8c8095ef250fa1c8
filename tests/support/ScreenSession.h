#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

/// The built game running as a separate process on the test's X server, driven the way a player
/// would: real key presses to its window through xdotool, and screenshots of the window through
/// ImageMagick's import. Runs only where a shell, xdotool and import are available; the game
/// process is ended by its id if a test leaves it running. Waits poll a few times a second.
///
/// The game is the native build's run folder unless the environment names another one:
///   TARNWICK_GAME_DIR       a folder holding the game (tarnwick or tarnwick.exe and its data),
///                           for instance the Windows build's run folder or an unpacked release;
///   TARNWICK_GAME_LAUNCHER  a command put in front of the executable (wine for tarnwick.exe);
///   TARNWICK_PLAY_IN_PLACE  when 1, tests that only play a game do so in TARNWICK_GAME_DIR itself
///                           instead of a copy (a release is checked where it was unpacked).
class ScreenSession {
  public:
    /// True when xdotool and import can be run.
    static bool toolsAvailable() { return quietly("{ xdotool version && import -version; }"); }
    /// The folder the game under test is copied from (TARNWICK_GAME_DIR or the run folder).
    static std::filesystem::path gameFolder() {
        return environment("TARNWICK_GAME_DIR").empty() ? TARNWICK_RUN_DIR : environment("TARNWICK_GAME_DIR");
    }
    /// True when the game under test is to be played where it is (TARNWICK_PLAY_IN_PLACE).
    static bool playInPlace() { return environment("TARNWICK_PLAY_IN_PLACE") == "1"; }
    /// Copies the game under test (the executable, fonts, sprites, audio; not its log) into
    /// folder, leaving out the paths in skip (relative to the game's folder). False when there is
    /// no executable to copy.
    static bool copyRunFolder(const std::filesystem::path& folder, const std::vector<std::string>& skip = {});

    /// A session for the game in folder (a copy of the run folder); nothing starts yet.
    explicit ScreenSession(std::filesystem::path folder) : dir(std::move(folder)) {}
    /// Ends the game if it still runs.
    ~ScreenSession() {
        if (started) quietly("kill " + readFile("game.pid"));
    }

    /// Starts the game's executable inside the folder (through TARNWICK_GAME_LAUNCHER when set),
    /// its standard error kept in a file. environment is put in front of the command (for
    /// example "env -u DISPLAY").
    bool start(const std::string& environment = "");
    /// Waits up to seconds for the game's window to be shown, then gives it the keyboard focus.
    bool waitForWindow(int seconds);
    /// Presses and releases a key (an X key name: "w", "Escape", "d").
    bool tap(const std::string& key);
    /// Takes screenshots of the game's window until one passes test, for up to seconds; true when
    /// one did.
    bool waitForScreen(int seconds, const std::function<bool(const sf::Image&)>& test);
    /// Pixels of exactly this colour in a shot, on the cells from (column0, row0) to (column1,
    /// row1) of 12.8 x 32 pixels (a glyph's box reaches a tenth of a cell right, 6.4 pixels down).
    static int countInCells(const sf::Image& shot, sf::Color color, int column0, int row0, int column1, int row1);
    /// The exit status once the game has ended, waiting up to seconds; empty while it still runs.
    std::optional<int> waitForExit(int seconds);

    /// What the game wrote to standard error.
    std::string standardError() const { return readFile("game.err"); }
    /// How many of the game's log messages (after their time stamps) start with prefix, read now.
    int logCount(const std::string& prefix) const;
    /// Waits up to seconds for count such messages; true when there are as many.
    bool waitForLog(const std::string& prefix, int count, int seconds) const {
        for (int tries = 0; tries < seconds * 5 && logCount(prefix) < count; ++tries)
            pause(200);
        return logCount(prefix) >= count;
    }
    const std::filesystem::path& folder() const { return dir; }

  private:
    static bool quietly(std::string line) { return std::system((line += " >/dev/null 2>&1").c_str()) == 0; }
    static std::string environment(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }
    static void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    std::string readFile(const std::string& name) const;
    std::string quoted(const std::string& name) const {
        return std::string("'").append((dir / name).string()).append("'");
    }

    std::filesystem::path dir;
    std::string window_id;
    bool started = false;
    int shot_count = 0;
};
