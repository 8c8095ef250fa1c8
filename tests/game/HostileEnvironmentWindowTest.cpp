// The built game in hostile surroundings, played with real key presses: a run folder with none
// of its data files, a working directory where the log cannot be written, and sprite files with
// every kind of damage. Each time the game must start, get through a game (W, Escape: the spider
// falls, the game-over screen, W back to the title) and end with status 0 on Escape, reporting
// what it could not use in its log. (No display at all is covered by GameEntryTest.)
#include "Web.h"

#include "ScreenSession.h"
#include "ScreenShot.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

bool waitUntil(double seconds, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return done();
}

int countStartingWith(const Lines& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

Lines errorLines(const Lines& lines) {
    Lines errors;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(errors),
                 [](const std::string& line) { return line.rfind("ERROR:", 0) == 0; });
    return errors;
}

/// The game-over screen as its log shows it: the saucers that fall behind its text, one per
/// interior column.
std::function<bool()> gameOverLogged(const ScreenSession& session) {
    return [&session] {
        return countStartingWith(session.logLines(), "spawned saucer: ") == Web::INTERIOR_COLUMNS;
    };
}

/// A key tap, tried again when xdotool fails (it can, briefly, on a busy X server).
bool press(ScreenSession& session, const std::string& key) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (session.tap(key)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return false;
}

/// Title, W, a moment of play, Escape (the spider falls), the game-over screen (game_over tells
/// when it is shown), W back to the title, Escape: the program ends with status 0.
void playOneGameAndQuit(ScreenSession& session, const std::function<bool()>& game_over) {
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(press(session, "w")) << session.standardError();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(press(session, "Escape")) << session.standardError();
    ASSERT_TRUE(waitUntil(30, game_over)) << "no game-over screen; " << session.standardError();
    ASSERT_TRUE(press(session, "w")) << session.standardError();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(press(session, "Escape")) << session.standardError();
    // The sanitizer build checks for leaks on the way out, which takes a moment.
    const std::optional<int> status = session.waitForExit(15);
    ASSERT_TRUE(status.has_value()) << "the game still runs after Escape on the title screen";
    EXPECT_EQ(*status, 0) << session.standardError();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class HostileEnvironmentWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    }
    TempWorkDir work;
    ScreenSession session{work.path() / "run"};
};

TEST_F(HostileEnvironmentWindowTest, EmptyRunFolderLogsEachMissingFileAndStillPlays) {
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder()));
    for (const char* data : {"bw-font.ttf", "Fonts", "Sprites", "Audio"})
        fs::remove_all(session.folder() / data);
    ASSERT_EQ(std::distance(fs::directory_iterator(session.folder()), fs::directory_iterator()), 1);
    playOneGameAndQuit(session, gameOverLogged(session));

    // Every data file of the built run folder (2 fonts, 20 sprites, 13 sounds and tunes) is named
    // by one error line: the one sound file loaded under two labels by two.
    const fs::path run(TARNWICK_RUN_DIR);
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(run)) {
        const std::string file = fs::relative(entry.path(), run).generic_string();
        if (entry.is_regular_file() && (file == "bw-font.ttf" || file.find('/') != std::string::npos))
            files.push_back(file);
    }
    EXPECT_EQ(files.size(), 35u);
    const Lines lines = session.logLines();
    const Lines errors = errorLines(lines);
    for (const std::string& file : files) {
        const auto naming = std::count_if(errors.begin(), errors.end(), [&](const std::string& line) {
            return line.size() > file.size() && line.compare(line.size() - file.size() - 1, std::string::npos,
                                                             " " + file) == 0;
        });
        EXPECT_EQ(naming, file == gameFile(SOUND, "player-fall") ? 2 : 1) << file;
    }
    EXPECT_EQ(errors.size(), files.size() + 1) << "errors besides the missing files";
    EXPECT_EQ(countStartingWith(lines, "Player is dying"), 1);
}

TEST_F(HostileEnvironmentWindowTest, UnwritableLogDoesNotStopTheGame) {
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder()));
    // A folder where the log file belongs: the log cannot be opened.
    fs::create_directory(session.folder() / "brackwen.log");
    const sf::Color prompt_red(242, 66, 54);
    playOneGameAndQuit(session, [&] {
        // "< W to return to menu >" on row 17.
        const ScreenShot shot = session.screenshot();
        return shot.isValid() && shot.countInCells(prompt_red, 29, 17, 51, 17) > 0;
    });
    EXPECT_TRUE(fs::is_directory(session.folder() / "brackwen.log"));
}

TEST_F(HostileEnvironmentWindowTest, DamagedSpriteFilesAreReportedAndPlayGoesOn) {
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder()));
    const auto damage = [&](const std::string& label, const std::function<std::string(std::string)>& change) {
        const fs::path file = session.folder() / gameFile(SPRITE, label);
        writeFile(file, change(readFile(file)));
    };
    // Cut off in the middle of its frames.
    damage("player-right", [](std::string text) { return text.substr(0, text.size() * 3 / 5); });
    // Random bytes.
    damage("title-text", [](std::string text) {
        std::mt19937 random(11u);
        for (char& byte : text) byte = static_cast<char>(random() % 256);
        return text;
    });
    // Windows line endings: still a good file.
    damage("game-over-text", [](const std::string& text) {
        std::string crlf;
        for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        return crlf;
    });
    // An art line thousands of characters long.
    damage("fly-twitch", [](std::string text) {
        return text.insert(text.find("<BODY>\n") + 7, std::string(5000, '#'));
    });
    // No "<BODY>" line.
    damage("fly-intro", [](std::string text) { return text.erase(text.find("<BODY>\n"), 7); });
    // Empty.
    damage("player-fall", [](const std::string&) { return std::string(); });
    // Sizes and counts without a usable value.
    damage("enemy-up",
           [](std::string text) { return text.replace(text.find("width"), 5, "width 0 #"); });
    damage("player-up", [](std::string text) { return "frames\n" + text.substr(text.find("\n") + 1); });
    // No frame block closed by "end": a sprite without frames, which loads without an error (the
    // game-over screen's saucers wear it).
    damage("saucer", [](std::string text) {
        for (std::size_t at = text.find("\nend\n"); at != std::string::npos; at = text.find("\nend\n"))
            text.replace(at, 5, "\nEND\n");
        return text;
    });
    // A folder in place of the file.
    const fs::path counter = session.folder() / gameFile(SPRITE, "silk-counter-spr");
    fs::remove(counter);
    fs::create_directory(counter);

    playOneGameAndQuit(session, gameOverLogged(session));
    // One error for each damaged file but the two that still load, nothing else.
    const Lines errors = errorLines(session.logLines());
    EXPECT_EQ(errors.size(), 8u) << ::testing::PrintToString(errors);
}

} // namespace
