// The web drawn into a real window and read back: where the characters of an intersection land
// and in which colours, the blinking of a string, and a hidden web that draws nothing.
#include "Web.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "WorldManager.h"

#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const std::filesystem::path SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
// The frame is filled with this before the web draws, so that every cell box the web draws
// (black, under each character) stands out.
const sf::Color FILL(0, 0, 200, 255);
const sf::Color JUNCTION(255, 255, 255, 255);
const sf::Color STRING(155, 155, 155, 255);
const sf::Color BLINK(242, 67, 54, 255);

/// The inclusive pixel rectangle of the black box under a character drawn at a cell position:
/// one cell wide, a pixel less than a cell high, a tenth of a cell right and a fifth down.
struct CellBox {
    int left, top, right, bottom;
};
CellBox boxAt(Vector cell) {
    // Pixels belong to the box when their centres lie inside it.
    const auto first = [](float edge) { return static_cast<int>(std::ceil(edge - 0.5f)); };
    const float left = cell.getX() * 12.8f + 1.28f;
    const float top = cell.getY() * 32.0f + 6.4f;
    return {first(left), first(top), first(left + 12.8f) - 1, first(top + 31.0f) - 1};
}

// Cell positions of the characters of intersection (1, 1) with the default window: the
// junction, then the strings up, right, down and left (about 0.3 of a spacing away).
const Vector JUNCTION_CELL(10.928572f, 4.3f);
const Vector UP_CELL(10.928572f, 2.86f);
const Vector RIGHT_CELL(14.357143f, 4.3f);
const Vector DOWN_CELL(10.928572f, 5.74f);
const Vector LEFT_CELL(7.5f, 4.3f);

class WebWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        std::error_code copy_error;
        std::filesystem::copy_file(SYSTEM_FONT, bw::FONT_FILE_DEFAULT, copy_error);
        bw::LogManager::getInstance().shutDown();
        bw::LogManager::getInstance().setLogLevel(-1);
        bw::LogManager::getInstance().startUp();
        bw::DisplayManager::getInstance().startUp();
    }
    static void TearDownTestSuite() {
        bw::DisplayManager::getInstance().shutDown();
        bw::LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs " << SYSTEM_FONT;
        ASSERT_NE(display().getWindow(), nullptr);
        bw::WorldManager::getInstance().startUp();
        web().reset();
    }
    void TearDown() override { bw::WorldManager::getInstance().shutDown(); }

    static bw::DisplayManager& display() { return bw::DisplayManager::getInstance(); }
    static Web& web() { return Web::getInstance(); }

    /// Leaves only intersection (1, 1) with string ends: these bits.
    void isolateIntersectionOneOne(std::uint32_t bits) {
        for (int row = 0; row < Web::ROWS; ++row)
            for (int column = 0; column < Web::COLUMNS; ++column)
                web().removeOnIntersection(Vector(column, row), UP | RIGHT | DOWN | LEFT);
        web().addOnIntersection(Vector(1, 1), bits);
    }

    /// Fills the frame, lets the web draw and reads the frame back.
    WindowCapture drawWeb() {
        display().getWindow()->clear(FILL);
        web().draw();
        return WindowCapture(*display().getWindow());
    }

    /// True when the black box of a character starts exactly at the expected pixel edges: the
    /// pixels just outside its top-left corner still show the fill, the ones inside do not.
    static ::testing::AssertionResult boxDrawnAt(const WindowCapture& frame, Vector cell) {
        const CellBox box = boxAt(cell);
        const bool inside =
            frame.pixel(box.left, box.top + 1) != FILL && frame.pixel(box.left + 1, box.top) != FILL;
        const bool outside =
            frame.pixel(box.left - 1, box.top + 1) == FILL && frame.pixel(box.left + 1, box.top - 1) == FILL;
        if (inside && outside) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no character box with its corner at pixel (" << box.left
                                             << ", " << box.top << ") for cell " << cell.toString();
    }

    static int fillPixels(const WindowCapture& frame) {
        return frame.countPixels(0, 0, frame.width() - 1, frame.height() - 1, FILL);
    }

    static int colourInBox(const WindowCapture& frame, Vector cell, sf::Color color) {
        const CellBox box = boxAt(cell);
        return frame.countPixels(box.left, box.top, box.right, box.bottom, color);
    }

    static std::unique_ptr<TempWorkDir> work_dir;
};

std::unique_ptr<TempWorkDir> WebWindowTest::work_dir;

TEST_F(WebWindowTest, IntersectionDrawsItsJunctionAndFourStringsCentredAroundIt) {
    isolateIntersectionOneOne(UP | RIGHT | DOWN | LEFT);
    const WindowCapture frame = drawWeb();

    EXPECT_TRUE(boxDrawnAt(frame, JUNCTION_CELL));
    EXPECT_GT(colourInBox(frame, JUNCTION_CELL, JUNCTION), 0);
    for (const Vector cell : {UP_CELL, RIGHT_CELL, DOWN_CELL, LEFT_CELL}) {
        EXPECT_TRUE(boxDrawnAt(frame, cell));
        EXPECT_GT(colourInBox(frame, cell, STRING), 0) << cell.toString();
        EXPECT_EQ(colourInBox(frame, cell, JUNCTION), 0) << cell.toString();
    }
    // Nothing else anywhere: every pixel outside the five boxes (and a little glyph overhang)
    // keeps the fill.
    int drawn_outside = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            bool in_a_box = false;
            for (const Vector cell : {JUNCTION_CELL, UP_CELL, RIGHT_CELL, DOWN_CELL, LEFT_CELL}) {
                const CellBox box = boxAt(cell);
                in_a_box = in_a_box || (x >= box.left - 3 && x <= box.right + 4 && y >= box.top - 8 &&
                                        y <= box.bottom + 2);
            }
            if (!in_a_box && frame.pixel(x, y) != FILL) ++drawn_outside;
        }
    }
    EXPECT_EQ(drawn_outside, 0);
}

TEST_F(WebWindowTest, SeveredStringsDrawNothingAndABareIntersectionLosesItsJunction) {
    isolateIntersectionOneOne(RIGHT | DOWN);
    WindowCapture frame = drawWeb();
    EXPECT_TRUE(boxDrawnAt(frame, JUNCTION_CELL));
    EXPECT_TRUE(boxDrawnAt(frame, RIGHT_CELL));
    EXPECT_TRUE(boxDrawnAt(frame, DOWN_CELL));
    EXPECT_EQ(colourInBox(frame, UP_CELL, STRING), 0);
    EXPECT_FALSE(boxDrawnAt(frame, UP_CELL));
    EXPECT_FALSE(boxDrawnAt(frame, LEFT_CELL));

    web().removeOnIntersection(Vector(1, 1), RIGHT | DOWN);
    frame = drawWeb();
    EXPECT_EQ(fillPixels(frame), frame.width() * frame.height());
}

TEST_F(WebWindowTest, FreshWebDrawsTheStringsOfIntersectionOneOne) {
    const WindowCapture frame = drawWeb();
    EXPECT_TRUE(boxDrawnAt(frame, JUNCTION_CELL));
    EXPECT_GT(colourInBox(frame, JUNCTION_CELL, JUNCTION), 0);
    for (const Vector cell : {UP_CELL, RIGHT_CELL, DOWN_CELL, LEFT_CELL}) {
        EXPECT_TRUE(boxDrawnAt(frame, cell));
        EXPECT_GT(colourInBox(frame, cell, STRING), 0) << cell.toString();
    }
}

TEST_F(WebWindowTest, BlinkingStringIsRedForSixFramesThenGreyForSix) {
    isolateIntersectionOneOne(RIGHT | LEFT);
    web().flashOnIntersection(true, Vector(1, 1), RIGHT);
    // Frames are counted for the whole program: 1–5 red, 6–11 grey, 12–17 red, 18–23 grey …
    // Follow the count through two full periods from wherever it stands.
    const int last = Web::getBlinkCounter() + 24;
    while (Web::getBlinkCounter() < last) {
        const WindowCapture frame = drawWeb();
        const int f = Web::getBlinkCounter();
        const bool red = f % 12 < 6;
        EXPECT_EQ(colourInBox(frame, RIGHT_CELL, BLINK) > 0, red) << "frame " << f;
        EXPECT_EQ(colourInBox(frame, RIGHT_CELL, STRING) > 0, !red) << "frame " << f;
        // The other string of the same intersection does not blink.
        EXPECT_EQ(colourInBox(frame, LEFT_CELL, BLINK), 0) << "frame " << f;
        EXPECT_GT(colourInBox(frame, LEFT_CELL, STRING), 0) << "frame " << f;
    }
}

TEST_F(WebWindowTest, HiddenWebDrawsNothingAndKeepsTheFrameCount) {
    web().hide();
    const int before = Web::getBlinkCounter();
    const WindowCapture frame = drawWeb();
    EXPECT_EQ(Web::getBlinkCounter(), before);
    EXPECT_EQ(fillPixels(frame), frame.width() * frame.height());
}

} // namespace
