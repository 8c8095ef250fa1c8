// The built program as a player meets it: started from a copy of its run folder on the test's X
// server, played with real key presses, and judged from exact-colour pixel counts of its window
// and from its log.
//
// ShortGameEndsFromTheGameOverScreen is the round every build of the game must pass: the Windows
// build under Wine and both release archives where they were unpacked (see the environment
// variables of ScreenSession.h; scripts/test runs them).
#include "ResourceEntry.h"
#include "Web.h"

#include "ScreenSession.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

const sf::Color PROMPT_RED(242, 66, 54), CONTROLS_BLUE(46, 134, 171), WEB_GREY(155, 155, 155);
constexpr auto inCells = &ScreenSession::countInCells;

/// W, play (playing judges it once the score has been drawn), Escape: the spider falls and the
/// game-over screen comes (game_over waits for it), then Escape ends the program with status 0.
static void playOneGameAndQuit(ScreenSession& session, const std::function<bool()>& playing,
                               const std::function<bool()>& game_over) {
    ASSERT_TRUE(session.tap("w"));
    // The display manager logs every string it draws: the score's means play has begun.
    ASSERT_TRUE(session.waitForLog("SCORE: ", 1, 20)) << "no play after W; " << session.standardError();
    EXPECT_TRUE(playing()) << "no play screen";
    ASSERT_TRUE(session.tap("Escape"));
    ASSERT_TRUE(game_over()) << "no game-over screen; " << session.standardError();
    ASSERT_TRUE(session.tap("Escape"));
    // The sanitizer build checks for leaks on the way out, which takes a moment.
    EXPECT_EQ(session.waitForExit(15), std::optional<int>(0)) << "exit status; " << session.standardError();
    EXPECT_EQ(session.logCount("Player is dying"), 1);
    EXPECT_EQ(session.logCount("spawned saucer: "), Web::INTERIOR_COLUMNS);
}

TEST(EndToEndWindowTest, ShortGameEndsFromTheGameOverScreen) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    const TempWorkDir work;
    ScreenSession session(ScreenSession::playInPlace() ? ScreenSession::gameFolder() : work.path() / "game");
    ASSERT_TRUE(ScreenSession::playInPlace() || ScreenSession::copyRunFolder(session.folder())) << "no game";
    ASSERT_TRUE(session.start());
    // A first start under Wine prepares its prefix, which takes several seconds.
    ASSERT_TRUE(session.waitForWindow(60)) << session.standardError();
    // The title: its red prompt between the blue controls on row 17, and no web above (the
    // smoothed edges of white text can take the web's grey, so rows 16 on are left out).
    EXPECT_TRUE(session.waitForScreen(20, [](const sf::Image& s) {
        return inCells(s, PROMPT_RED, 33, 17, 46, 17) > 0 &&
               inCells(s, CONTROLS_BLUE, 5, 17, 16, 17) > 0 &&
               inCells(s, CONTROLS_BLUE, 64, 17, 74, 17) > 0 &&
               inCells(s, WEB_GREY, 0, 0, 79, 15) == 0;
    })) << "no title screen";
    playOneGameAndQuit(
        session,
        [&] { // the web in opposite quarters of the window, the score bottom right
            return session.waitForScreen(20, [](const sf::Image& s) {
                return inCells(s, WEB_GREY, 0, 0, 39, 11) > 0 &&
                       inCells(s, WEB_GREY, 40, 12, 79, 23) > 0 &&
                       inCells(s, sf::Color(227, 99, 151), 62, 22, 77, 22) > 0;
            });
        },
        [&] {
            return session.waitForScreen(
                60, [](const sf::Image& s) { return inCells(s, PROMPT_RED, 29, 17, 51, 17) > 0; });
        });
    EXPECT_EQ(session.logCount("ERROR:") + session.logCount("WARNING:"), 0);
}

TEST(EndToEndWindowTest, EmptyRunFolderLogsEachMissingFileAndStillPlays) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    const TempWorkDir work;
    ScreenSession session(work.path());
    ASSERT_TRUE(ScreenSession::copyRunFolder(work.path(), {"bw-font.ttf", "Fonts", "Sprites", "Audio"}));
    // Without a display nobody could play: the program says so, shuts down and fails.
    ASSERT_TRUE(session.start("env -u DISPLAY"));
    EXPECT_EQ(session.waitForExit(5), std::optional<int>(1)) << "no failure without a display";
    const std::string refusal = "ERROR: no display: cannot open the game window";
    EXPECT_NE(session.standardError().find(refusal), std::string::npos) << session.standardError();
    EXPECT_EQ(session.logCount(refusal) + session.logCount("Shutting down LogManager"), 2);

    // With a display: both fonts (the engine's and the game's) and every sprite, sound and tune
    // are reported, and a game can still be played.
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();
    const int missing = static_cast<int>(std::size(GAME_RESOURCES)) + 2;
    playOneGameAndQuit(
        session, [] { return true; },
        [&] { return session.waitForLog("spawned saucer: ", Web::INTERIOR_COLUMNS, 30); });
    EXPECT_EQ(session.logCount("ERROR:"), missing);
}
