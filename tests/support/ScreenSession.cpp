#include "ScreenSession.h"

#include "LogReader.h"
#include "RecordedScreen.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

/// The game's executable in folder: the Windows build's when there is one.
static std::string executableIn(const fs::path& folder) {
    return fs::exists(folder / "tarnwick.exe") ? "tarnwick.exe" : "tarnwick";
}

bool ScreenSession::copyRunFolder(const fs::path& folder, const std::vector<std::string>& skip) {
    const fs::path game = gameFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    for (const std::string& item :
         std::vector<std::string>{executableIn(game), "bw-font.ttf", "Fonts", "Sprites", "Audio"})
        fs::copy(game / item, folder / item, fs::copy_options::recursive, error);
    for (const std::string& path : skip)
        fs::remove_all(folder / path, error);
    return fs::exists(folder / executableIn(game));
}

bool ScreenSession::start(const std::string& environment) {
    // The group runs in the background: it records the game's id, waits for it and writes its
    // exit status, so the test can poll for the end without blocking.
    fs::remove(dir / "game.status");
    started = quietly("{ cd " + quoted("") + " && { " + environment + " " +
                      ScreenSession::environment("TARNWICK_GAME_LAUNCHER") + " ./" + executableIn(dir) +
                      " >game.out 2>game.err & echo $! >game.pid; wait $!; " +
                      "echo $? >game.status.tmp; mv game.status.tmp game.status; } & }");
    return started;
}

bool ScreenSession::waitForWindow(int seconds) {
    // The keys go to the window with the focus (there may be no window manager to activate it).
    const std::string search = " xdotool search --sync --onlyvisible --name '^VelloranBrackwen$' >";
    if (!quietly("{ timeout " + std::to_string(seconds) + search + quoted("window.id") + "; }")) return false;
    std::istringstream(readFile("window.id")) >> window_id;
    return quietly("xdotool windowfocus --sync " + window_id);
}

bool ScreenSession::tap(const std::string& key) {
    const bool down = quietly("xdotool windowfocus --sync " + window_id + " keydown " + key);
    pause(80); // held long enough for the game to see the press in a frame of its own
    return quietly("xdotool keyup " + key) && down;
}

bool ScreenSession::waitForScreen(int seconds, const std::function<bool(const sf::Image&)>& test) {
    for (int tries = 0; tries < seconds * 4; ++tries, pause(100)) {
        const std::string file = "shot-" + std::to_string(shot_count++) + ".png";
        if (!quietly("import -window " + window_id + " " + quoted(file))) continue;
        if (sf::Image shot; shot.loadFromFile(dir / file) && test(shot)) return true;
    }
    return false;
}

int ScreenSession::countInCells(const sf::Image& shot, sf::Color color, int column0, int row0, int column1,
                                int row1) {
    const float width = 12.8f, height = 32.0f;
    return RecordedScreen::countPixels(shot, color, static_cast<int>(std::floor(column0 * width)),
                                       static_cast<int>(std::floor(row0 * height)),
                                       static_cast<int>(std::ceil((column1 + 1.1f) * width)) - 1,
                                       static_cast<int>(std::ceil((row1 + 1) * height + 6.4f)) - 1);
}

std::optional<int> ScreenSession::waitForExit(int seconds) {
    for (int tries = 0; !fs::exists(dir / "game.status"); ++tries, pause(20))
        if (tries == seconds * 50) return std::nullopt;
    started = false;
    return std::atoi(readFile("game.status").c_str());
}

int ScreenSession::logCount(const std::string& prefix) const {
    const auto starts = [&](const std::string& message) { return message.starts_with(prefix); };
    return static_cast<int>(std::ranges::count_if(logMessages(readFile("brackwen.log")), starts));
}

std::string ScreenSession::readFile(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(dir / name).rdbuf();
    return text.str();
}
