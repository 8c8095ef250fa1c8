// Frames, sprites and objects drawn into a real window, read back cell by cell: where a frame's
// cells land, what a sprite's transparency leaves untouched, the marks of an object's visible box.
#include "Frame.h"
#include "Sprite.h"

#include "Box.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Object.h"

#include "RecordedScreen.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <vector>

using bw::Frame;
using bw::Vector;

namespace {

class FrameDrawWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        bw::LogManager::getInstance().setLogLevel(1);
        bw::LogManager::getInstance().startUp();
        ASSERT_EQ(display.startUp(), 0) << "no window: run under an X server";
    }
    void TearDown() override {
        display.shutDown();
        bw::LogManager::getInstance().shutDown();
    }

    TempWorkDir dir;
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
};

// Rows and columns start half the frame's size before the position (rounded down for columns):
// a frame of odd height at y + 0.5 and one of even height at y have whole rows. The height is
// the frame's length over its width, as a float: six characters on a width changed to 4 make
// one row, centred as 1.5 rows, so at y + 0.75 it lands on y.
TEST_F(FrameDrawWindowTest, FramesAreCentredOnTheirPositionInTheirColour) {
    RecordedScreen screen;
    Frame odd(3, "abcdefghi");
    odd.setColor(bw::COLOR_RED);
    EXPECT_EQ(odd.draw(Vector(10, 10.5f), nullptr), 0);
    EXPECT_EQ(Frame(4, "wxyzWXYZ").draw(Vector(30, 10), nullptr), 0);
    Frame narrowed(3, "abcdef");
    narrowed.setWidth(4);
    EXPECT_EQ(narrowed.draw(Vector(50, 10.75f), nullptr), 0);
    EXPECT_EQ(screen.text(9, 9, 3) + screen.text(9, 10, 3) + screen.text(9, 11, 3), "abcdefghi");
    EXPECT_EQ(screen.text(28, 9, 4) + screen.text(28, 10, 4) + screen.text(48, 10, 4), "wxyzWXYZabcd");
    EXPECT_EQ(screen.colorAt(11, 11), bw::COLOR_RED);
    EXPECT_EQ(screen.colorAt(31, 10), bw::COLOR_WHITE);
    EXPECT_EQ(screen.draws().size(), 21u) << "nothing but the frames' cells";

    // A sprite draws the frame asked for, passing on its transparent character; none out of range.
    screen.clear();
    bw::Sprite sprite(2);
    sprite.setTransparency('.');
    sprite.insertFrame(Frame(2, "A."));
    sprite.insertFrame(Frame(2, ".B"));
    display.drawString(Vector(30, 12), "==", bw::COLOR_BLUE, bw::LEFT_JUSTIFIED);
    EXPECT_EQ(sprite.draw(1, Vector(31, 12.5f)), 0);
    EXPECT_EQ(sprite.draw(5, Vector(31, 12.5f)), 0);
    EXPECT_EQ(screen.text(30, 12, 2), "=B");
    EXPECT_EQ(screen.draws().size(), 3u);
}

// With its box visible, an object marks the box's corner cells with white '+' after its sprite,
// then its position with a red 'x' (the cell centred on it).
TEST_F(FrameDrawWindowTest, VisibleBoxMarksItsCornersAndThePositionOverTheSprite) {
    loadGameSprite("player-spr"); // 3 x 2: "\o/" over "/O\"
    bw::Object object;
    object.setSprite("player-spr");
    object.setPosition(Vector(20, 10));
    object.setBox(bw::Box(Vector(-1, -1), 3, 2)); // on the sprite's cells
    RecordedScreen screen;
    EXPECT_EQ(object.draw(), 0);
    EXPECT_EQ(screen.draws().size(), 6u) << "the sprite alone while the box is hidden";

    screen.clear();
    object.setBoxVisible(true);
    EXPECT_EQ(object.draw(), 0);
    EXPECT_EQ(screen.text(19, 9, 3) + screen.text(19, 10, 3), "+o++O+") << screen.toString();
    EXPECT_EQ(screen.columnsIn(9, bw::COLOR_WHITE), std::vector<int>({19, 21}));
    EXPECT_EQ(screen.columnsIn(10, bw::COLOR_WHITE), std::vector<int>({19, 21}));
    ASSERT_EQ(screen.draws().size(), 11u);
    const RecordedScreen::Draw& centre = screen.draws().back();
    EXPECT_LT(Vector(centre.x, centre.y).distance(Vector(19.5f, 9.5f)), 1e-4f);
    EXPECT_EQ(centre.ch, 'x');
    EXPECT_EQ(centre.color, sf::Color::Red);
}

} // namespace
