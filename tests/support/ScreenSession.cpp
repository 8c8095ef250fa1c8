#include "ScreenSession.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }
/// Runs a command with its output thrown away.
bool quietly(const std::string& command) { return shell(command + " >/dev/null 2>&1"); }
bool xdotool(const std::string& arguments) { return quietly("xdotool " + arguments); }
std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }
void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
Clock::time_point after(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

/// The game's executable in folder: the Windows build's when there is one.
std::string executableIn(const fs::path& folder) {
    return fs::exists(folder / "tarnwick.exe") ? "tarnwick.exe" : "tarnwick";
}

} // namespace

bool ScreenSession::toolsAvailable() { return xdotool("version") && quietly("import -version"); }

fs::path ScreenSession::gameFolder() {
    const std::string named = environmentText("TARNWICK_GAME_DIR");
    return named.empty() ? fs::path(TARNWICK_RUN_DIR) : fs::path(named);
}

bool ScreenSession::playInPlace() { return environmentText("TARNWICK_PLAY_IN_PLACE") == "1"; }

bool ScreenSession::copyRunFolder(const fs::path& folder, const std::vector<std::string>& skip) {
    const fs::path game = gameFolder();
    const std::string executable = executableIn(game);
    if (!fs::exists(game / executable)) return false;
    std::error_code error;
    fs::create_directories(folder, error);
    for (const std::string& item : {executable, std::string("bw-font.ttf"), std::string("Fonts"),
                                   std::string("Sprites"), std::string("Audio")})
        fs::copy(game / item, folder / item, fs::copy_options::recursive, error);
    for (const std::string& path : skip)
        fs::remove_all(folder / path, error);
    return fs::exists(folder / executable);
}

ScreenSession::~ScreenSession() {
    if (!started || fs::exists(dir / "game.status")) return;
    const int pid = std::atoi(readFile("game.pid").c_str());
    if (pid > 0) quietly("kill " + std::to_string(pid));
    waitForExit(5);
}

bool ScreenSession::start(const std::string& environment) {
    // The group runs in the background: it records the game's id, waits for it and writes its
    // exit status, so the test can poll for the end without blocking.
    const std::string launcher = environmentText("TARNWICK_GAME_LAUNCHER");
    started = shell("cd " + quoted(dir) + " && { " + environment + " " + launcher + " ./" + executableIn(dir) +
                    " >game.out 2>game.err & echo $! >game.pid; wait $!; "
                    "echo $? >game.status.tmp; mv game.status.tmp game.status; } >/dev/null 2>&1 &");
    return started;
}

bool ScreenSession::waitForWindow(double seconds) {
    for (const auto deadline = after(seconds); Clock::now() < deadline && !fs::exists(dir / "game.status");
         pause(100)) {
        if (!shell("xdotool search --onlyvisible --name '^VelloranBrackwen$' >" + quoted(dir / "window.id") +
                   " 2>/dev/null"))
            continue;
        std::istringstream(readFile("window.id")) >> window_id;
        // Without a window manager activation may fail; focus is what the keys need.
        xdotool("windowactivate " + window_id);
        return xdotool("windowfocus --sync " + window_id);
    }
    return false;
}

bool ScreenSession::tap(const std::string& key) {
    if (window_id.empty()) return false;
    xdotool("windowfocus --sync " + window_id);
    const bool down = xdotool("keydown " + key);
    pause(80); // held long enough for the game to see the press in a frame of its own
    return xdotool("keyup " + key) && down;
}

ScreenShot ScreenSession::screenshot() {
    const fs::path file = dir / ("shot-" + std::to_string(shot_count++) + ".png");
    if (window_id.empty() || !quietly("import -window " + window_id + " " + quoted(file))) return {};
    return ScreenShot(file);
}

ScreenShot ScreenSession::waitForScreen(double seconds, const std::function<bool(const ScreenShot&)>& test) {
    const auto deadline = after(seconds);
    ScreenShot shot;
    do {
        shot = screenshot();
        if (shot.isValid() && test(shot)) return shot;
        pause(200);
    } while (Clock::now() < deadline);
    return shot;
}

std::optional<int> ScreenSession::waitForExit(double seconds) {
    for (const auto deadline = after(seconds); !fs::exists(dir / "game.status"); pause(20))
        if (Clock::now() >= deadline) return std::nullopt;
    started = false;
    return std::atoi(readFile("game.status").c_str());
}

std::vector<std::string> ScreenSession::logLines() const {
    std::vector<std::string> messages;
    std::ifstream file(dir / "brackwen.log");
    for (std::string line; std::getline(file, line);) {
        const auto separator = line.find(" - ");
        messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

std::string ScreenSession::readFile(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(dir / name).rdbuf();
    return text.str();
}
