// The whole game as a player meets it: the built program started from its run folder, played
// with real key presses on the X server and judged from screenshots of its window and from its
// log. Title, W, a few seconds of play, Escape (the spider falls), the game-over screen, W, the
// title again, Escape, and the program ends with status 0.
//
// ShortGameEndsFromTheGameOverScreen is the quick round every build of the game must pass: the
// Windows build under Wine and both release archives where they were unpacked (see the
// environment variables of ScreenSession.h; scripts/test runs them).
//
// Set TARNWICK_SCREENSHOT_DIR to a folder to keep the title and play screenshots there as
// title.png and play.png. The README's pictures are made this way, from the checkout:
//   scripts/run-in-toolchain scripts/xvfb env TARNWICK_SCREENSHOT_DIR=$PWD/docs
//   build/tests/EndToEndWindowTest
#include "Web.h"

#include "ScreenSession.h"
#include "ScreenShot.h"

#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

const sf::Color PROMPT_RED(242, 66, 54);
const sf::Color CONTROLS_BLUE(46, 134, 171);
const sf::Color WEB_GREY(155, 155, 155);
const sf::Color SCORE_PINK(227, 99, 151);

// Pixels of each text's cells (80 x 24 grid): the title prompt, the game-over prompt and the
// controls on row 17, the score ending at column 77 of row 22.
int titlePrompt(const ScreenShot& shot) { return shot.countInCells(PROMPT_RED, 33, 17, 46, 17); }
int menuPrompt(const ScreenShot& shot) { return shot.countInCells(PROMPT_RED, 29, 17, 51, 17); }
int controls(const ScreenShot& shot) {
    return shot.countInCells(CONTROLS_BLUE, 5, 17, 16, 17) + shot.countInCells(CONTROLS_BLUE, 64, 17, 74, 17);
}
int score(const ScreenShot& shot) { return shot.countInCells(SCORE_PINK, 62, 22, 77, 22); }
/// Web grey above the title's texts (the smoothed edges of white text can take that shade too).
int webAboveTheTexts(const ScreenShot& shot) { return shot.countInCells(WEB_GREY, 0, 0, 79, 15); }

/// Grey strings and white junctions in each quarter of the window: the web spans it all.
bool webAcrossTheWindow(const ScreenShot& shot) {
    const int w = shot.width() / 2, h = shot.height() / 2;
    for (int left : {0, w})
        for (int top : {0, h})
            for (const sf::Color color : {WEB_GREY, sf::Color::White})
                if (shot.countPixels(color, left, top, left + w - 1, top + h - 1) == 0) return false;
    return true;
}

void keep(const ScreenShot& shot, const std::string& name) {
    if (const char* folder = std::getenv("TARNWICK_SCREENSHOT_DIR"); folder && *folder) {
        EXPECT_TRUE(shot.saveTo(std::filesystem::path(folder) / name)) << "could not save " << name;
    }
}

auto countStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::ranges::count_if(lines, [&](const std::string& line) { return line.starts_with(prefix); });
}

/// Steps played before the game-over saucers came: the score is drawn once a step during play,
/// and the display manager logs every string it draws.
int playedSteps(const std::vector<std::string>& lines) {
    int steps = 0;
    for (std::size_t i = 0; i + 1 < lines.size() && !lines[i].starts_with("spawned saucer: "); ++i)
        steps += lines[i] == "draw string has been called" && lines[i + 1].starts_with("SCORE: ");
    return steps;
}

bool onTitle(const ScreenShot& shot) { return titlePrompt(shot) > 0 && controls(shot) > 0; }

TEST(EndToEndWindowTest, ShortGameEndsFromTheGameOverScreen) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    TempWorkDir work;
    ScreenSession session(ScreenSession::playInPlace() ? ScreenSession::gameFolder() : work.path() / "game");
    if (!ScreenSession::playInPlace()) {
        ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder())) << "no game in " << ScreenSession::gameFolder();
    }
    ASSERT_TRUE(session.start());
    // A first start under Wine prepares its prefix, which takes several seconds.
    ASSERT_TRUE(session.waitForWindow(60)) << session.standardError();

    const ScreenShot title = session.waitForScreen(20, onTitle);
    EXPECT_TRUE(onTitle(title)) << "no title screen";
    EXPECT_EQ(webAboveTheTexts(title), 0);

    ASSERT_TRUE(session.tap("w"));
    ASSERT_TRUE(webAcrossTheWindow(session.waitForScreen(20, webAcrossTheWindow))) << "no web after W";
    ASSERT_TRUE(session.tap("Escape"));
    const auto on_game_over = [](const ScreenShot& s) { return menuPrompt(s) > 0; };
    EXPECT_TRUE(on_game_over(session.waitForScreen(60, on_game_over))) << "no game-over screen";

    ASSERT_TRUE(session.tap("Escape"));
    const std::optional<int> status = session.waitForExit(5.0);
    ASSERT_TRUE(status.has_value()) << "the game still runs five seconds after Escape";
    EXPECT_EQ(*status, 0);
    const std::vector<std::string> lines = session.logLines();
    EXPECT_EQ(countStartingWith(lines, "Player is dying"), 1);
    EXPECT_EQ(countStartingWith(lines, "ERROR:"), 0);
}

TEST(EndToEndWindowTest, TitlePlayGameOverTitleAndQuit) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    TempWorkDir work;
    ScreenSession session(work.path() / "run");
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder())) << "no built game in " << TARNWICK_RUN_DIR;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();

    // Title screen: the prompt and the controls, no web.
    const auto on_title = onTitle;
    const ScreenShot title = session.waitForScreen(20, on_title);
    EXPECT_TRUE(on_title(title)) << "no title screen";
    EXPECT_EQ(webAboveTheTexts(title), 0);
    keep(title, "title.png");

    // W: the web is woven across the window and the score is shown bottom right.
    ASSERT_TRUE(session.tap("w"));
    ASSERT_TRUE(webAcrossTheWindow(session.waitForScreen(20, webAcrossTheWindow))) << "no web after W";
    // A few seconds of play, steering down and right.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    session.tap("s");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    session.tap("d");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto in_play = [](const ScreenShot& s) { return webAcrossTheWindow(s) && score(s) > 0; };
    const ScreenShot play = session.waitForScreen(10, in_play);
    EXPECT_TRUE(in_play(play)) << "no web or no score during play";
    EXPECT_GT(webAboveTheTexts(play), 1000);
    EXPECT_EQ(titlePrompt(play), 0);
    keep(play, "play.png");

    // Escape: the spider falls and the game-over screen follows.
    ASSERT_TRUE(session.tap("Escape"));
    const auto on_game_over = [](const ScreenShot& s) { return menuPrompt(s) > 0; };
    EXPECT_TRUE(on_game_over(session.waitForScreen(60, on_game_over))) << "no game-over screen";

    // W: back to the title screen, without the web.
    ASSERT_TRUE(session.tap("w"));
    const auto back = [&](const ScreenShot& s) { return webAboveTheTexts(s) == 0 && on_title(s); };
    EXPECT_TRUE(back(session.waitForScreen(20, back))) << "no title screen without the web";

    // Escape on the title: the program ends at once, successfully.
    ASSERT_TRUE(session.tap("Escape"));
    const std::optional<int> status = session.waitForExit(1.0);
    ASSERT_TRUE(status.has_value()) << "the game still runs a second after Escape";
    EXPECT_EQ(*status, 0);

    const std::vector<std::string> lines = session.logLines();
    EXPECT_EQ(countStartingWith(lines, "Player is dying"), 1);
    EXPECT_EQ(countStartingWith(lines, "spawned saucer: "), Web::INTERIOR_COLUMNS);
    EXPECT_EQ(countStartingWith(lines, "ERROR:"), 0);
    const int steps = playedSteps(lines);
    EXPECT_GT(steps, 0);
    std::cout << "[ played    ] " << steps << " steps from W to the game-over saucers\n";
    RecordProperty("played_steps", steps);
}

} // namespace
