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

namespace {

const sf::Color PROMPT_RED(242, 66, 54), CONTROLS_BLUE(46, 134, 171), WEB_GREY(155, 155, 155),
    SCORE_PINK(227, 99, 151);

/// W, play (during_play looks at it once the score has been drawn), Escape: the spider falls and
/// the game-over screen comes (game_over waits for it), then Escape ends the program with status 0.
void playOneGameAndQuit(ScreenSession& session, const std::function<void()>& during_play,
                        const std::function<bool()>& game_over) {
    ASSERT_TRUE(session.tap("w"));
    // The display manager logs every string it draws: the score's means play has begun.
    ASSERT_TRUE(session.waitForLog("SCORE: ", 1, 20)) << "no play after W; " << session.standardError();
    during_play();
    ASSERT_TRUE(session.tap("Escape"));
    ASSERT_TRUE(game_over()) << "no game-over screen; " << session.standardError();
    ASSERT_TRUE(session.tap("Escape"));
    // The sanitizer build checks for leaks on the way out, which takes a moment.
    const std::optional<int> status = session.waitForExit(15);
    ASSERT_TRUE(status.has_value()) << "the game still runs after Escape on the game-over screen";
    EXPECT_EQ(*status, 0) << session.standardError();
    EXPECT_EQ(session.logCount("Player is dying"), 1);
    EXPECT_EQ(session.logCount("spawned saucer: "), Web::INTERIOR_COLUMNS);
}

class EndToEndWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    }
    TempWorkDir work;
};

TEST_F(EndToEndWindowTest, ShortGameEndsFromTheGameOverScreen) {
    ScreenSession session(ScreenSession::playInPlace() ? ScreenSession::gameFolder() : work.path() / "game");
    if (!ScreenSession::playInPlace())
        ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder()))
            << "no game in " << ScreenSession::gameFolder();
    ASSERT_TRUE(session.start());
    // A first start under Wine prepares its prefix, which takes several seconds.
    ASSERT_TRUE(session.waitForWindow(60)) << session.standardError();
    // The title: its red prompt between the blue controls on row 17, and no web above (the
    // smoothed edges of white text can take the web's grey, so rows 16 on are left out).
    const auto on_title = [](const ScreenShot& s) {
        return s.countInCells(PROMPT_RED, 33, 17, 46, 17) > 0 &&
               s.countInCells(CONTROLS_BLUE, 5, 17, 16, 17) > 0 &&
               s.countInCells(CONTROLS_BLUE, 64, 17, 74, 17) > 0 &&
               s.countInCells(WEB_GREY, 0, 0, 79, 15) == 0;
    };
    EXPECT_TRUE(on_title(session.waitForScreen(20, on_title))) << "no title screen";
    // During play the web spans the window and the score stands bottom right, without a prompt.
    const auto in_play = [](const ScreenShot& s) {
        return s.countInCells(WEB_GREY, 0, 0, 39, 11) > 0 && s.countInCells(WEB_GREY, 40, 12, 79, 23) > 0 &&
               s.countInCells(SCORE_PINK, 62, 22, 77, 22) > 0 &&
               s.countInCells(PROMPT_RED, 0, 17, 79, 17) == 0;
    };
    const auto on_game_over = [](const ScreenShot& s) {
        return s.countInCells(PROMPT_RED, 29, 17, 51, 17) > 0;
    };
    playOneGameAndQuit(
        session, [&] { EXPECT_TRUE(in_play(session.waitForScreen(20, in_play))) << "no web or no score"; },
        [&] { return on_game_over(session.waitForScreen(60, on_game_over)); });
    EXPECT_EQ(session.logCount("ERROR:"), 0);
}

TEST_F(EndToEndWindowTest, EmptyRunFolderLogsEachMissingFileAndStillPlays) {
    ScreenSession session(work.path() / "game");
    ASSERT_TRUE(ScreenSession::copyRunFolder(session.folder(), {"bw-font.ttf", "Fonts", "Sprites", "Audio"}));
    // Without a display nobody could play: the program says so, shuts down and fails.
    ASSERT_TRUE(session.start("env -u DISPLAY"));
    const std::optional<int> refused = session.waitForExit(5);
    ASSERT_TRUE(refused.has_value()) << "the game kept running without a display";
    EXPECT_NE(*refused, 0);
    const std::string message = "ERROR: no display: cannot open the game window";
    EXPECT_NE(session.standardError().find(message), std::string::npos) << session.standardError();
    EXPECT_EQ(session.logCount(message) + session.logCount("Shutting down LogManager"), 2);

    // With a display: both fonts (the engine's and the game's) and every sprite, sound and tune
    // are reported, and a game can still be played.
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();
    const int missing = static_cast<int>(std::size(GAME_RESOURCES)) + 2;
    ASSERT_TRUE(session.waitForLog("ERROR:", missing, 20));
    playOneGameAndQuit(
        session, [] {}, [&] { return session.waitForLog("spawned saucer: ", Web::INTERIOR_COLUMNS, 30); });
    EXPECT_EQ(session.logCount("ERROR:"), missing);
}

} // namespace
