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

#include <utility>

using bw::Frame;
using bw::Vector;

namespace {

TEST(FrameDrawWindowTest, FramesSpritesAndVisibleBoxesLandOnTheirCells) {
    const TempWorkDir dir;
    bw::LogManager::getInstance().startUp();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0) << "no window: run under an X server";
    RecordedScreen screen;
    // Rows and columns start half the frame's size before the position (rounded down for
    // columns): a frame of odd height at y + 0.5 and one of even height at y have whole rows. The
    // height is the length over the width, as a float: six characters on a width changed to 4
    // make one row, centred as 1.5 rows, so at y + 0.75 it lands on y.
    Frame odd(3, "abcdefghi");
    odd.setColor(bw::COLOR_RED);
    EXPECT_EQ(odd.draw(Vector(10, 10.5f), nullptr), 0);
    EXPECT_EQ(Frame(4, "wxyzWXYZ").draw(Vector(30, 10), nullptr), 0);
    Frame narrowed(3, "abcdef");
    narrowed.setWidth(4);
    EXPECT_EQ(narrowed.draw(Vector(50, 10.75f), nullptr), 0);
    EXPECT_EQ(screen.text(9, 9, 3) + screen.text(9, 10, 3) + screen.text(9, 11, 3), "abcdefghi");
    EXPECT_EQ(screen.text(28, 9, 4) + screen.text(28, 10, 4) + screen.text(48, 10, 4), "wxyzWXYZabcd");
    EXPECT_EQ(screen.at(11, 11).color, sf::Color::Red);
    EXPECT_EQ(screen.at(31, 10).color, sf::Color::White);
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

    // With its box visible, an object marks the box's corner cells with white '+' after its
    // sprite, then its position with a red 'x' (the cell centred on it).
    loadGameSprite("player-spr"); // 3 x 2: "\o/" over "/O\"
    bw::Object object;
    object.setSprite("player-spr");
    object.setPosition(Vector(20, 10));
    object.setBox(bw::Box(Vector(-1, -1), 3, 2)); // on the sprite's cells
    screen.clear();
    EXPECT_EQ(object.draw(), 0);
    EXPECT_EQ(screen.draws().size(), 6u) << "the sprite alone while the box is hidden";
    object.setBoxVisible(true);
    EXPECT_EQ(object.draw(), 0);
    EXPECT_EQ(screen.text(19, 9, 3) + screen.text(19, 10, 3), "+o++O+");
    for (const auto& [column, row] : {std::pair{19, 9}, {21, 9}, {19, 10}, {21, 10}})
        EXPECT_EQ(screen.at(column, row).color, sf::Color::White);
    const RecordedScreen::Draw& centre = screen.at(19.5f, 9.5f);
    EXPECT_EQ(&centre, &screen.draws().back());
    EXPECT_EQ(std::pair(centre.ch, centre.color), std::pair('x', sf::Color::Red));
    display.shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
