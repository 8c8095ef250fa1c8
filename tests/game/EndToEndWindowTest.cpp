// The whole game as a player meets it: the built program started from its run folder, played
// with real key presses on the X server and judged from screenshots of its window and from its
// log. Title, W, a few seconds of play, Escape (the spider falls), the game-over screen, W, the
// title again, Escape, and the program ends with status 0.
//
// Set TARNWICK_SCREENSHOT_DIR to a folder to keep the title and play screenshots there as
// title.png and play.png. The README's pictures are made this way, from the checkout:
//   scripts/run-in-toolchain scripts/xvfb env TARNWICK_SCREENSHOT_DIR=$PWD/docs
//   build/tests/EndToEndWindowTest
#include "ScreenSession.h"
#include "ScreenShot.h"

#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

const sf::Color PROMPT_RED(242, 66, 54);
const sf::Color CONTROLS_BLUE(46, 134, 171);
const sf::Color WEB_GREY(155, 155, 155);
const sf::Color JUNCTION_WHITE(255, 255, 255);
const sf::Color SCORE_PINK(227, 99, 151);

// Cells of the texts (80 × 24 grid): the title prompt "< W to Start >" and the game-over
// prompt "< W to return to menu >" on row 17, the controls on the same row, the score ending
// at column 77 of row 22.
constexpr int PROMPT_ROW = 17;

int titlePromptPixels(const ScreenShot& shot) {
    return shot.countInCells(PROMPT_RED, 33, PROMPT_ROW, 46, PROMPT_ROW);
}
int menuPromptPixels(const ScreenShot& shot) {
    return shot.countInCells(PROMPT_RED, 29, PROMPT_ROW, 51, PROMPT_ROW);
}
int controlsPixels(const ScreenShot& shot) {
    return shot.countInCells(CONTROLS_BLUE, 5, PROMPT_ROW, 16, PROMPT_ROW) +
           shot.countInCells(CONTROLS_BLUE, 64, PROMPT_ROW, 74, PROMPT_ROW);
}
int scorePixels(const ScreenShot& shot) { return shot.countInCells(SCORE_PINK, 62, 22, 77, 22); }
/// Web grey above the title's texts (the smoothed edges of white text can take that shade too).
int webPixelsAboveTheTexts(const ScreenShot& shot) { return shot.countInCells(WEB_GREY, 0, 0, 79, 15); }

/// Grey strings and white junctions in each quarter of the window: the web spans it all.
bool webAcrossTheWindow(const ScreenShot& shot) {
    const int half_w = shot.width() / 2;
    const int half_h = shot.height() / 2;
    for (int qx = 0; qx < 2; ++qx) {
        for (int qy = 0; qy < 2; ++qy) {
            const int left = qx * half_w, top = qy * half_h;
            if (shot.countPixels(WEB_GREY, left, top, left + half_w - 1, top + half_h - 1) == 0) return false;
            if (shot.countPixels(JUNCTION_WHITE, left, top, left + half_w - 1, top + half_h - 1) == 0)
                return false;
        }
    }
    return true;
}

/// Takes screenshots until one satisfies the test, for up to seconds; the last one taken.
ScreenShot waitForScreen(ScreenSession& session, double seconds,
                         const std::function<bool(const ScreenShot&)>& test) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    ScreenShot shot;
    do {
        shot = session.screenshot();
        if (shot.isValid() && test(shot)) return shot;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < deadline);
    return shot;
}

void keep(const ScreenShot& shot, const std::string& name) {
    const char* folder = std::getenv("TARNWICK_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') return;
    EXPECT_TRUE(shot.saveTo(std::filesystem::path(folder) / name)) << "could not save " << name;
}

int countStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

/// Iterations drawn with the score on screen before the game-over saucers were spawned: the
/// score counter draws once per iteration of play, and the display manager logs every string.
int playedSteps(const std::vector<std::string>& lines) {
    int steps = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind("spawned saucer: ", 0) == 0) break;
        if (lines[i] == "draw string has been called" && lines[i + 1].rfind("SCORE: ", 0) == 0) ++steps;
    }
    return steps;
}

TEST(EndToEndWindowTest, TitlePlayGameOverTitleAndQuit) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    TempWorkDir work;
    ScreenSession session(work.path() / "run");
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder())) << "no built game in " << TARNWICK_RUN_DIR;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();

    // Title screen: the prompt and the controls, no web.
    const ScreenShot title = waitForScreen(session, 20, [](const ScreenShot& shot) {
        return titlePromptPixels(shot) > 0 && controlsPixels(shot) > 0;
    });
    ASSERT_TRUE(title.isValid());
    EXPECT_GT(titlePromptPixels(title), 0);
    EXPECT_GT(controlsPixels(title), 0);
    EXPECT_EQ(webPixelsAboveTheTexts(title), 0);
    keep(title, "title.png");

    // W: the web is woven across the window and the score is shown bottom right.
    ASSERT_TRUE(session.tap("w"));
    const auto play_started = std::chrono::steady_clock::now();
    ScreenShot play = waitForScreen(session, 20, webAcrossTheWindow);
    ASSERT_TRUE(webAcrossTheWindow(play)) << "no web after W";
    // A few seconds of play, steering down and right.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    session.tap("s");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    session.tap("d");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    play = waitForScreen(session, 10, [](const ScreenShot& shot) {
        return webAcrossTheWindow(shot) && scorePixels(shot) > 0;
    });
    EXPECT_TRUE(webAcrossTheWindow(play));
    EXPECT_GT(webPixelsAboveTheTexts(play), 1000);
    EXPECT_GT(scorePixels(play), 0);
    EXPECT_EQ(titlePromptPixels(play), 0);
    keep(play, "play.png");

    // Escape: the spider falls and the game-over screen follows.
    ASSERT_TRUE(session.tap("Escape"));
    const ScreenShot game_over =
        waitForScreen(session, 60, [](const ScreenShot& shot) { return menuPromptPixels(shot) > 0; });
    const auto play_ended = std::chrono::steady_clock::now();
    EXPECT_GT(menuPromptPixels(game_over), 0) << "no game-over screen";

    // W: back to the title screen, without the web.
    ASSERT_TRUE(session.tap("w"));
    const ScreenShot back = waitForScreen(session, 20, [](const ScreenShot& shot) {
        return webPixelsAboveTheTexts(shot) == 0 && titlePromptPixels(shot) > 0;
    });
    EXPECT_EQ(webPixelsAboveTheTexts(back), 0);
    EXPECT_GT(controlsPixels(back), 0);

    // Escape on the title: the program ends at once, successfully.
    ASSERT_TRUE(session.tap("Escape"));
    const std::optional<int> status = session.waitForExit(1.0);
    ASSERT_TRUE(status.has_value()) << "the game still runs a second after Escape";
    EXPECT_EQ(*status, 0);

    const std::vector<std::string> lines = session.logLines();
    EXPECT_EQ(countStartingWith(lines, "Player is dying"), 1);
    EXPECT_EQ(countStartingWith(lines, "spawned saucer: "), 6);
    EXPECT_EQ(countStartingWith(lines, "ERROR:"), 0);

    const int steps = playedSteps(lines);
    const auto seconds = std::chrono::duration<double>(play_ended - play_started).count();
    EXPECT_GT(steps, 0);
    std::cout << "[ played    ] " << steps << " steps from W to the game-over saucers (" << seconds
              << " s of wall time until the game-over screen was seen)\n";
    RecordProperty("played_steps", steps);
}

} // namespace
