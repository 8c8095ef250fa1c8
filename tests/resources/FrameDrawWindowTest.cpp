// Frames and sprites drawn into a real window: each picture is compared, pixel for pixel, with
// the same characters drawn one by one through drawCh at the cells where they belong.
#include "Frame.h"
#include "Sprite.h"

#include "Color.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Vector.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using bw::Color;
using bw::DisplayManager;
using bw::Frame;
using bw::Sprite;
using bw::Vector;

namespace {

const std::filesystem::path SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const Color RED(255, 0, 0, 1.0f);
const Color BLUE(0, 0, 255, 1.0f);

struct Cell {
    float x;
    float y;
    char ch;
};

class FrameDrawWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        std::filesystem::copy_file(SYSTEM_FONT, bw::FONT_FILE_DEFAULT, ignored);
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs " << SYSTEM_FONT;
        restartLogForResourceTest();
        display.shutDown();
        ASSERT_EQ(display.startUp(), 0);
        ASSERT_NE(display.getWindow(), nullptr);
        display.swapBuffers();
    }
    void TearDown() override {
        display.shutDown();
        bw::LogManager::getInstance().shutDown();
    }

    // Captures the frame drawn so far and starts a fresh one.
    sf::Image take() {
        const WindowCapture capture(*display.getWindow());
        display.swapBuffers();
        return capture.image();
    }

    sf::Image drawnCells(const std::vector<Cell>& cells, Color color) {
        for (const Cell& cell : cells) display.drawCh(Vector(cell.x, cell.y), cell.ch, color);
        return take();
    }

    static bool samePixels(const sf::Image& a, const sf::Image& b) {
        return a.getSize() == b.getSize() &&
               std::memcmp(a.getPixelsPtr(), b.getPixelsPtr(), 4u * a.getSize().x * a.getSize().y) == 0;
    }

    static int litPixels(const sf::Image& image) {
        int lit = 0;
        for (unsigned y = 0; y < image.getSize().y; ++y)
            for (unsigned x = 0; x < image.getSize().x; ++x)
                if (image.getPixel({x, y}) != sf::Color::Black) ++lit;
        return lit;
    }

    TempWorkDir dir;
    DisplayManager& display = DisplayManager::getInstance();
};

TEST_F(FrameDrawWindowTest, ThreeByThreeFrameFillsTheCellsAroundItsCentre) {
    Frame frame(3, "abcdefghi");
    frame.setColor(RED);
    EXPECT_EQ(frame.draw(Vector(10, 10), nullptr), 0);
    const sf::Image drawn = take();
    const sf::Image expected = drawnCells({{9, 8.5f, 'a'}, {10, 8.5f, 'b'}, {11, 8.5f, 'c'},
                                           {9, 9.5f, 'd'}, {10, 9.5f, 'e'}, {11, 9.5f, 'f'},
                                           {9, 10.5f, 'g'}, {10, 10.5f, 'h'}, {11, 10.5f, 'i'}},
                                          RED);
    EXPECT_GT(litPixels(expected), 0);
    EXPECT_TRUE(samePixels(drawn, expected));
    // The same characters one row lower are a different picture.
    const sf::Image shifted = drawnCells({{9, 9.5f, 'a'}, {10, 9.5f, 'b'}, {11, 9.5f, 'c'},
                                          {9, 10.5f, 'd'}, {10, 10.5f, 'e'}, {11, 10.5f, 'f'},
                                          {9, 11.5f, 'g'}, {10, 11.5f, 'h'}, {11, 11.5f, 'i'}},
                                         RED);
    EXPECT_FALSE(samePixels(drawn, shifted));
}

TEST_F(FrameDrawWindowTest, EvenSizedFrameStartsHalfItsSizeBeforeTheCentre) {
    Frame frame(4, "wxyzWXYZ");
    frame.setColor(BLUE);
    EXPECT_EQ(frame.draw(Vector(10, 10), nullptr), 0);
    const sf::Image drawn = take();
    const sf::Image expected = drawnCells({{8, 9, 'w'}, {9, 9, 'x'}, {10, 9, 'y'}, {11, 9, 'z'},
                                           {8, 10, 'W'}, {9, 10, 'X'}, {10, 10, 'Y'}, {11, 10, 'Z'}},
                                          BLUE);
    EXPECT_TRUE(samePixels(drawn, expected));
    // Colour matters too.
    EXPECT_FALSE(samePixels(drawn, drawnCells({{8, 9, 'w'}, {9, 9, 'x'}, {10, 9, 'y'}, {11, 9, 'z'},
                                                {8, 10, 'W'}, {9, 10, 'X'}, {10, 10, 'Y'}, {11, 10, 'Z'}},
                                               RED)));
}

TEST_F(FrameDrawWindowTest, TransparentCharactersLeaveTheCellsBeneathUntouched) {
    const std::vector<Cell> beneath = {{19, 5, '#'}, {20, 5, '#'}, {21, 5, '#'}};
    Frame frame(3, "o o");
    frame.setColor(RED);
    const char blank = ' ';
    for (const Cell& cell : beneath) display.drawCh(Vector(cell.x, cell.y), cell.ch, BLUE);
    EXPECT_EQ(frame.draw(Vector(20, 5.5f), &blank), 0);
    const sf::Image drawn = take();

    for (const Cell& cell : beneath) display.drawCh(Vector(cell.x, cell.y), cell.ch, BLUE);
    display.drawCh(Vector(19, 5), 'o', RED);
    display.drawCh(Vector(21, 5), 'o', RED);
    EXPECT_TRUE(samePixels(drawn, take()));

    // Without transparency the blank's black box covers the middle '#'.
    for (const Cell& cell : beneath) display.drawCh(Vector(cell.x, cell.y), cell.ch, BLUE);
    EXPECT_EQ(frame.draw(Vector(20, 5.5f), nullptr), 0);
    EXPECT_FALSE(samePixels(drawn, take()));
}

TEST_F(FrameDrawWindowTest, SpriteDrawsTheChosenFrameWithItsTransparency) {
    Sprite sprite(2);
    sprite.setTransparency('.');
    Frame first(2, "A.");
    first.setColor(RED);
    Frame second(2, ".B");
    second.setColor(BLUE);
    sprite.insertFrame(first);
    sprite.insertFrame(second);

    display.drawCh(Vector(30, 12), '=', RED);
    display.drawCh(Vector(31, 12), '=', RED);
    EXPECT_EQ(sprite.draw(1, Vector(31, 12.5f)), 0);
    const sf::Image drawn = take();
    display.drawCh(Vector(30, 12), '=', RED);
    display.drawCh(Vector(31, 12), '=', RED);
    display.drawCh(Vector(31, 12), 'B', BLUE);
    EXPECT_TRUE(samePixels(drawn, take()));

    EXPECT_EQ(sprite.draw(5, Vector(31, 12.5f)), 0);
    EXPECT_EQ(litPixels(take()), 0);
}

} // namespace
