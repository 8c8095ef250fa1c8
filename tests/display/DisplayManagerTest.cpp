// The display manager without a window: its grid arithmetic, the soft failures of drawing before
// start-up, and start-up where no window system can be reached. Nothing here opens a window.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowDisplayOverride.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using bw::DisplayManager;
using bw::LogManager;
using bw::Vector;
using ::testing::ElementsAre;

namespace {

const std::string DRAW_WARNING = "WARNING: attempted to draw character before window initialized";

class DisplayManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.shutDown();
        ASSERT_EQ(log.startUp(), 0);
        log.setLogLevel(-1);
        // The log's own start-up line is not what these tests look at.
        baseline = readLogLines();
    }
    void TearDown() override {
        display.shutDown();
        log.setLogLevel(-1);
        log.shutDown();
    }

    /// The messages written since SetUp.
    std::vector<std::string> newLines() const {
        const auto lines = readLogLines();
        return {lines.begin() + static_cast<long>(baseline.size()), lines.end()};
    }

    TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
    DisplayManager& display = DisplayManager::getInstance();
    std::vector<std::string> baseline;
};

TEST_F(DisplayManagerTest, GridIsEightyByTwentyFourCellsOfTwelvePointEightByThirtyTwoPixels) {
    EXPECT_EQ(display.getHorizontal(), 80);
    EXPECT_EQ(display.getVertical(), 24);
    EXPECT_EQ(display.getHorizontalPixels(), 1024);
    EXPECT_EQ(display.getVerticalPixels(), 768);
    EXPECT_FLOAT_EQ(display.charWidth(), 12.8f);
    EXPECT_FLOAT_EQ(display.charHeight(), 32.0f);
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
}

TEST_F(DisplayManagerTest, CellsAndPixelsConvertBothWays) {
    const Vector one_cell = display.spacesToPixels(Vector(1, 1));
    EXPECT_FLOAT_EQ(one_cell.getX(), 12.8f);
    EXPECT_FLOAT_EQ(one_cell.getY(), 32.0f);

    const Vector cells = display.pixelsToSpaces(Vector(64, 64));
    EXPECT_FLOAT_EQ(cells.getX(), 5.0f);
    EXPECT_FLOAT_EQ(cells.getY(), 2.0f);

    // The far corner of the grid is the far corner of the window, and fractions carry through.
    const Vector corner = display.spacesToPixels(Vector(80, 24));
    EXPECT_FLOAT_EQ(corner.getX(), 1024.0f);
    EXPECT_FLOAT_EQ(corner.getY(), 768.0f);
    const Vector half_cell = display.pixelsToSpaces(Vector(6.4f, 16.0f));
    EXPECT_FLOAT_EQ(half_cell.getX(), 0.5f);
    EXPECT_FLOAT_EQ(half_cell.getY(), 0.5f);
}

TEST_F(DisplayManagerTest, DrawingBeforeStartUpFailsWithAWarning) {
    EXPECT_EQ(display.drawCh(Vector(3, 4), 'x', bw::COLOR_RED), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    // swapBuffers fails silently: the one line is drawCh's.
    EXPECT_THAT(newLines(), ElementsAre(DRAW_WARNING));
}

TEST_F(DisplayManagerTest, DrawWarningIsALevelOneLine) {
    log.setLogLevel(0);
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'x', bw::COLOR_RED), -1);
    EXPECT_TRUE(newLines().empty());
    log.setLogLevel(1);
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'x', bw::COLOR_RED), -1);
    EXPECT_THAT(newLines(), ElementsAre(DRAW_WARNING));
}

TEST_F(DisplayManagerTest, DrawStringBeforeStartUpStopsAtTheFirstDrawnCharacter) {
    const char transparent = '#';
    // The first two characters are transparent; the third is the first that is drawn and fails.
    EXPECT_EQ(display.drawString(Vector(5, 5), "##abc", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &transparent),
              -1);
    EXPECT_THAT(newLines(),
                ElementsAre("draw string has been called", "##abc", "##abc", "##abc", DRAW_WARNING));
}

TEST_F(DisplayManagerTest, DrawStringLinesAreWrittenAtLevelZero) {
    log.setLogLevel(0);
    EXPECT_EQ(display.drawString(Vector(5, 5), "ab", bw::COLOR_GREEN, bw::CENTER_JUSTIFIED), -1);
    // The warning is level 1, so only the string's own lines pass a level-0 threshold.
    EXPECT_THAT(newLines(), ElementsAre("draw string has been called", "ab"));
}

TEST_F(DisplayManagerTest, DrawStringWithNothingToDrawSucceedsWithoutAWindow) {
    EXPECT_EQ(display.drawString(Vector(5, 5), "", bw::COLOR_GREEN, bw::RIGHT_JUSTIFIED), 0);
    EXPECT_THAT(newLines(), ElementsAre("draw string has been called"));

    const char transparent = ' ';
    EXPECT_EQ(display.drawString(Vector(5, 5), "   ", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &transparent), 0);
    EXPECT_THAT(newLines(), ElementsAre("draw string has been called", "draw string has been called", "   ",
                                        "   ", "   "));
}

TEST_F(DisplayManagerTest, ShutDownWithoutAWindowDoesNothing) {
    display.shutDown();
    EXPECT_FALSE(display.isStarted());
    EXPECT_TRUE(newLines().empty());
}

TEST_F(DisplayManagerTest, MissingFontIsReportedWithItsName) {
    display.openFont("no-such-font.ttf");
    EXPECT_THAT(newLines(), ElementsAre("ERROR: Unable to load font no-such-font.ttf"));
    log.setLogLevel(0);
    display.openFont("Fonts/also-missing.ttf");
    EXPECT_THAT(newLines(), ElementsAre("ERROR: Unable to load font no-such-font.ttf",
                                        "ERROR: Unable to load font Fonts/also-missing.ttf"));
}

TEST_F(DisplayManagerTest, StartUpWithoutDisplayVariableFailsWithoutAborting) {
    const WindowDisplayOverride no_display("");
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    // The default font is tried first (and is missing in this empty folder).
    EXPECT_THAT(newLines(), ElementsAre("ERROR: Unable to load font bw-font.ttf",
                                        "ERROR: Unable to allocate RenderWindow"));
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'x', bw::COLOR_WHITE), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
}

TEST_F(DisplayManagerTest, StartUpWithUnreachableServerFailsWithoutAborting) {
    const WindowDisplayOverride dead_display(":4093");
    log.setLogLevel(0);
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(countLogLines("ERROR: Unable to allocate RenderWindow"), 1);
    // A second attempt fails the same way rather than counting as a redundant start-up.
    EXPECT_EQ(display.startUp(), -1);
    EXPECT_EQ(countLogLines("ERROR: Unable to allocate RenderWindow"), 2);
    EXPECT_EQ(countLogLines("Redundant DisplayManager startUp call"), 0);
}

} // namespace
