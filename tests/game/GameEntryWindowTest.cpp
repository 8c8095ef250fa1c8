// The built game started from a run folder with data files missing: it logs each missing file
// once, still shows its title screen, and Escape ends it with status 0.
#include "ScreenSession.h"
#include "ScreenShot.h"

#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

int countContaining(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    }));
}

TEST(GameEntryWindowTest, WithFilesMissingTheGameStillRunsAndQuitsCleanly) {
    if (!ScreenSession::toolsAvailable()) GTEST_SKIP() << "xdotool or ImageMagick's import is missing";
    TempWorkDir work;
    ScreenSession session(work.path() / "run");
    ASSERT_TRUE(
        ScreenSession::copyRunFolder(session.folder(), {"Sprites/O-spr.txt", "Audio/TitleSimple.wav"}))
        << "no built game in " << TARNWICK_RUN_DIR;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow(20)) << session.standardError();

    // The title screen's prompt shows although its music is missing.
    const sf::Color prompt_red(242, 66, 54);
    ScreenShot shot;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    do {
        shot = session.screenshot();
        if (shot.isValid() && shot.countInCells(prompt_red, 33, 17, 46, 17) > 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < deadline);
    EXPECT_GT(shot.countInCells(prompt_red, 33, 17, 46, 17), 0);

    ASSERT_TRUE(session.tap("Escape"));
    const std::optional<int> status = session.waitForExit(1.0);
    ASSERT_TRUE(status.has_value()) << "the game still runs a second after Escape";
    EXPECT_EQ(*status, 0);

    const auto lines = session.logLines();
    EXPECT_EQ(countContaining(lines, "Sprites/O-spr.txt"), 1);
    EXPECT_EQ(countContaining(lines, "Audio/TitleSimple.wav"), 1);
    EXPECT_EQ(countContaining(lines, "ERROR:"), 2);
}

} // namespace
