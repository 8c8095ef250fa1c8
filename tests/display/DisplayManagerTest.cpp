// The display manager without a window: its grid arithmetic, the soft failures of drawing before
// start-up, and start-up where no window system can be reached. Nothing here opens a window.
#include "DisplayManager.h"

#include "LogManager.h"
#include "PixelMask.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

const std::string DRAW_WARNING = "WARNING: attempted to draw character before window initialized";
const std::string DRAW_STRING = "draw string has been called";
const std::string STARTED = "Started up LogManager";

class DisplayManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
    }
    void TearDown() override { log.shutDown(); }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
};

TEST_F(DisplayManagerTest, GridOfEightyByTwentyFourCellsConvertsToPixelsBothWays) {
    EXPECT_EQ(std::pair(display.getHorizontal(), display.getVertical()), std::pair(80, 24));
    EXPECT_EQ(std::pair(display.getHorizontalPixels(), display.getVerticalPixels()), std::pair(1024, 768));
    EXPECT_LT(display.spacesToPixels(Vector(1, 1)).distance(Vector(12.8f, 32)), 1e-4f);
    EXPECT_LT(display.pixelsToSpaces(Vector(6.4f, 64)).distance(Vector(0.5f, 2)), 1e-4f);
}

TEST_F(DisplayManagerTest, DrawingWithoutAWindowFailsWithALevelOneWarning) {
    display.shutDown(); // nothing to close: no line
    EXPECT_EQ(display.drawCh(Vector(3, 4), 'x', bw::COLOR_RED), -1);
    EXPECT_EQ(display.swapBuffers(), -1); // silently
    const char hash = '#';
    // Transparent characters are skipped; the first drawn one fails and stops the string.
    EXPECT_EQ(display.drawString(Vector(5, 5), "##abc", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &hash), -1);
    // With nothing to draw there is nothing to fail.
    EXPECT_EQ(display.drawString(Vector(5, 5), "", bw::COLOR_GREEN, bw::RIGHT_JUSTIFIED), 0);
    EXPECT_EQ(display.drawString(Vector(5, 5), "##", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &hash), 0);
    EXPECT_THAT(readLogLines(), ElementsAre(STARTED, DRAW_WARNING, DRAW_STRING, "##abc", "##abc", "##abc",
                                            DRAW_WARNING, DRAW_STRING, DRAW_STRING, "##", "##"));

    log.setLogLevel(0);
    EXPECT_EQ(display.drawString(Vector(5, 5), "ab", bw::COLOR_GREEN, bw::CENTER_JUSTIFIED), -1);
    EXPECT_EQ(countLogLines(DRAW_WARNING), 2) << "the warning is level 1";
    EXPECT_EQ(countLogLines("ab"), 1) << "the string's lines are level 0";
}

TEST_F(DisplayManagerTest, StartUpWithoutAWindowSystemFailsWithoutAborting) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has its window system; only an X server can be missing";
#endif
    for (const char* unreachable : {"", ":4093"}) {
        const WindowDisplayOverride no_display(unreachable);
        // A failed start-up leaves nothing behind: the next one tries again, not "redundant".
        EXPECT_EQ(display.startUp(), -1);
        EXPECT_EQ(display.getWindow(), nullptr);
        EXPECT_FALSE(display.isStarted());
        EXPECT_EQ(display.drawCh(Vector(0, 0), 'x', bw::COLOR_WHITE), -1);
        log.setLogLevel(0);
    }
    const std::string no_font = "ERROR: Unable to load font bw-font.ttf";
    const std::string no_window = "ERROR: Unable to allocate RenderWindow";
    EXPECT_THAT(readLogLines(), ElementsAre(STARTED, no_font, no_window, DRAW_WARNING, no_font, no_window));
}

// The batched drawing's record of covered pixels: the last word of one row and the first word of
// the next are told apart.
TEST(PixelMaskTest, MarksStayInTheirRows) {
    bw::PixelMask mask;
    mask.resize(1024, 768);
    mask.mark({960, 0, 1023, 0});
    mask.mark({0, 1, 0, 1});
    const auto found = mask.markedWithin({1, 0, 1023, 1});
    EXPECT_TRUE(found && found->left == 960 && found->top == 0 && found->right == 1023 && found->bottom == 0);
}

} // namespace
