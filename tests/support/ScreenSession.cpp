#include "ScreenSession.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string WINDOW_SEARCH = "xdotool search --onlyvisible --name '^VelloranBrackwen$'";

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

} // namespace

bool ScreenSession::shell(const std::string& command) { return std::system(command.c_str()) == 0; }

bool ScreenSession::toolsAvailable() {
    return shell("xdotool version >/dev/null 2>&1") && shell("import -version >/dev/null 2>&1");
}

bool ScreenSession::copyRunFolder(const fs::path& folder, const std::vector<std::string>& leave_out) {
    const fs::path run(TARNWICK_RUN_DIR);
    if (!fs::exists(run / "tarnwick")) return false;
    std::error_code error;
    fs::create_directories(folder, error);
    for (const char* item : {"tarnwick", "bw-font.ttf", "Fonts", "Sprites", "Audio"})
        if (fs::exists(run / item)) fs::copy(run / item, folder / item, fs::copy_options::recursive, error);
    for (const std::string& path : leave_out)
        fs::remove(folder / path, error);
    return fs::exists(folder / "tarnwick");
}

ScreenSession::ScreenSession(fs::path folder) : dir(std::move(folder)) {}

ScreenSession::~ScreenSession() { kill(); }

bool ScreenSession::start(const std::string& environment) {
    // The group runs in the background: it records the game's id, waits for it and writes its
    // exit status, so the test can poll for the end without blocking.
    const std::string command = "cd " + quoted(dir) + " && { " + environment +
                                " ./tarnwick >game.out 2>game.err & echo $! >game.pid; wait $!; "
                                "echo $? >game.status.tmp; mv game.status.tmp game.status; } "
                                ">/dev/null 2>&1 &";
    started = shell(command);
    return started;
}

bool ScreenSession::waitForWindow(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    const fs::path id_file = dir / "window.id";
    while (std::chrono::steady_clock::now() < deadline) {
        if (shell(WINDOW_SEARCH + " >" + quoted(id_file) + " 2>/dev/null")) {
            std::istringstream ids(readFile("window.id"));
            ids >> window_id;
            if (!window_id.empty()) {
                // Without a window manager activation may fail; focus is what the keys need.
                shell("xdotool windowactivate " + window_id + " >/dev/null 2>&1");
                return shell("xdotool windowfocus --sync " + window_id + " >/dev/null 2>&1");
            }
        }
        if (fs::exists(dir / "game.status")) return false;
        pause(100);
    }
    return false;
}

bool ScreenSession::tap(const std::string& key) {
    if (window_id.empty()) return false;
    shell("xdotool windowfocus --sync " + window_id + " >/dev/null 2>&1");
    const bool down = shell("xdotool keydown " + key + " >/dev/null 2>&1");
    // Held long enough for the game to see the press in a frame of its own.
    pause(80);
    const bool up = shell("xdotool keyup " + key + " >/dev/null 2>&1");
    return down && up;
}

ScreenShot ScreenSession::screenshot() {
    if (window_id.empty()) return {};
    const fs::path file = dir / ("shot-" + std::to_string(shot_count++) + ".png");
    if (!shell("import -window " + window_id + " " + quoted(file) + " >/dev/null 2>&1")) return {};
    return ScreenShot(file);
}

std::optional<int> ScreenSession::waitForExit(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        if (fs::exists(dir / "game.status")) {
            std::istringstream status(readFile("game.status"));
            int code = -1;
            status >> code;
            started = false;
            return code;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        pause(20);
    }
}

std::string ScreenSession::standardError() const { return readFile("game.err"); }

std::vector<std::string> ScreenSession::logLines() const {
    std::vector<std::string> messages;
    std::ifstream file(dir / "brackwen.log");
    std::string line;
    while (std::getline(file, line)) {
        const auto separator = line.find(" - ");
        messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

std::string ScreenSession::readFile(const std::string& name) const {
    std::ifstream file(dir / name);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void ScreenSession::kill() {
    if (!started || fs::exists(dir / "game.status")) return;
    std::istringstream pid(readFile("game.pid"));
    int id = 0;
    pid >> id;
    if (id > 0) shell("kill " + std::to_string(id) + " >/dev/null 2>&1");
    waitForExit(5);
}
