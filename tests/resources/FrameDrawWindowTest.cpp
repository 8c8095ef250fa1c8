// Frames and sprites drawn into a real window and read back as a grid of characters: where a
// frame's cells land around its position, and what a sprite's transparency leaves untouched.
#include "Frame.h"
#include "Sprite.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include "ScreenGrid.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using bw::Frame;
using bw::Vector;

namespace {

const std::filesystem::path DEJAVU_FONT = TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf";

class FrameDrawWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        std::filesystem::copy_file(DEJAVU_FONT, bw::FONT_FILE_DEFAULT, ignored);
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs " << DEJAVU_FONT;
        bw::LogManager::getInstance().setLogLevel(1);
        bw::LogManager::getInstance().startUp();
        ASSERT_EQ(display.startUp(), 0);
        ASSERT_NE(display.getWindow(), nullptr) << "no window: run under an X server";
        display.swapBuffers(); // start on a black frame
    }
    void TearDown() override {
        display.shutDown();
        bw::LogManager::getInstance().shutDown();
    }

    TempWorkDir dir;
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
};

// Rows and columns start half the frame's size before the position (rounded down for columns):
// a frame of odd height at y + 0.5 and one of even height at y have whole rows.
TEST_F(FrameDrawWindowTest, FramesAreCentredOnTheirPositionInTheirColour) {
    Frame odd(3, "abcdefghi");
    odd.setColor(bw::COLOR_RED);
    EXPECT_EQ(odd.draw(Vector(10, 10.5f), nullptr), 0);
    EXPECT_EQ(Frame(4, "wxyzWXYZ").draw(Vector(30, 10), nullptr), 0);
    const ScreenGrid grid = ScreenGrid::capture();
    EXPECT_EQ(grid.text(9, 9, 3) + grid.text(9, 10, 3) + grid.text(9, 11, 3), "abcdefghi") << grid.toString();
    EXPECT_EQ(grid.text(28, 9, 4) + grid.text(28, 10, 4), "wxyzWXYZ") << grid.toString();
    EXPECT_EQ(grid.colorAt(11, 11), bw::COLOR_RED);
    EXPECT_EQ(grid.colorAt(31, 10), bw::COLOR_WHITE);
    EXPECT_EQ(grid.row(8) + grid.row(12), std::string(160, ' ')) << grid.toString();
}

// The height that centres a frame is its length divided by its width, as a float: six characters
// on a width changed to 4 make one whole row, centred as 1.5 rows, so at y + 0.75 it lands on y.
TEST_F(FrameDrawWindowTest, FrameCentresOnItsFractionalHeightAfterItsWidthChanged) {
    Frame frame(3, "abcdef");
    frame.setWidth(4);
    EXPECT_EQ(frame.draw(Vector(10, 10.75f), nullptr), 0);
    const ScreenGrid grid = ScreenGrid::capture();
    EXPECT_EQ(grid.text(8, 10, 4), "abcd") << grid.toString();
    EXPECT_EQ(grid.row(9) + grid.row(11), std::string(160, ' ')) << grid.toString();
}

// A sprite draws the frame asked for, passing on its transparent character; none out of range.
TEST_F(FrameDrawWindowTest, SpriteDrawsTheChosenFrameLeavingTransparentCellsUntouched) {
    bw::Sprite sprite(2);
    sprite.setTransparency('.');
    sprite.insertFrame(Frame(2, "A."));
    sprite.insertFrame(Frame(2, ".B"));
    display.drawString(Vector(30, 12), "==", bw::COLOR_BLUE, bw::LEFT_JUSTIFIED);
    EXPECT_EQ(sprite.draw(1, Vector(31, 12.5f)), 0);
    EXPECT_EQ(ScreenGrid::capture().text(30, 12, 2), "=B");
    EXPECT_EQ(sprite.draw(5, Vector(31, 12.5f)), 0);
    EXPECT_EQ(ScreenGrid::capture().row(12), std::string(80, ' '));
}

} // namespace
