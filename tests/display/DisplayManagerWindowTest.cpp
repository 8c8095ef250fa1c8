// The display manager with a real window: what drawCh, drawString and swapBuffers leave in the
// frame, read back pixel by pixel before the frame is shown.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using bw::DisplayManager;
using bw::LogManager;
using bw::Vector;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const std::filesystem::path SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const sf::Color BLACK(0, 0, 0, 255);
const sf::Color WHITE(255, 255, 255, 255);
const sf::Color GLYPH_RED(255, 0, 0, 255);

// Pixels belong to a shape when their centres lie inside it, so an edge at e starts (or ends)
// the covered run at the first pixel whose centre x + 0.5 reaches e.
int firstCoveredPixel(float edge) {
    return static_cast<int>(std::ceil(edge - 0.5f));
}
int lastCoveredPixel(float edge) {
    return static_cast<int>(std::ceil(edge - 0.5f)) - 1;
}

/// The pixel rectangle (inclusive) of the black box of the cell at a cell position: the box is
/// one cell wide and one pixel less than a cell high, shifted right by a tenth of a cell width
/// and down by a fifth of a cell height.
struct PixelRect {
    int left, top, right, bottom;
};
PixelRect cellBox(float column, float row) {
    const float left = column * 12.8f + 1.28f;
    const float top = row * 32.0f + 6.4f;
    return {firstCoveredPixel(left), firstCoveredPixel(top), lastCoveredPixel(left + 12.8f),
            lastCoveredPixel(top + 31.0f)};
}

class DisplayManagerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        std::error_code copy_error;
        std::filesystem::copy_file(SYSTEM_FONT, bw::FONT_FILE_DEFAULT, copy_error);
        LogManager::getInstance().shutDown();
        LogManager::getInstance().startUp();
        LogManager::getInstance().setLogLevel(-1);
        DisplayManager::getInstance().startUp();
    }
    static void TearDownTestSuite() {
        DisplayManager::getInstance().shutDown();
        LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs " << SYSTEM_FONT;
        // A fresh log for every test.
        log.shutDown();
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        if (display.getWindow() == nullptr) {
            ASSERT_EQ(display.startUp(), 0);
        }
        ASSERT_NE(display.getWindow(), nullptr);
    }

    /// Fills the frame being drawn with one colour, as something drawn earlier in the frame.
    void fillFrame(sf::Color color) { display.getWindow()->clear(color); }
    WindowCapture capture() const { return WindowCapture(*display.getWindow()); }

    /// Columns 0..last of a row whose cell box is black (drawn), read at each box's centre.
    std::vector<int> drawnColumns(const WindowCapture& frame, int row, int last = 30) const {
        std::vector<int> columns;
        for (int column = 0; column <= last; ++column) {
            const PixelRect box = cellBox(static_cast<float>(column), static_cast<float>(row));
            if (frame.pixel((box.left + box.right) / 2, (box.top + box.bottom) / 2) == BLACK)
                columns.push_back(column);
        }
        return columns;
    }

    static std::unique_ptr<TempWorkDir> work_dir;
    LogManager& log = LogManager::getInstance();
    DisplayManager& display = DisplayManager::getInstance();
};

std::unique_ptr<TempWorkDir> DisplayManagerWindowTest::work_dir;

TEST_F(DisplayManagerWindowTest, StartUpOpensTheWindowWithTheDefaultFont) {
    // Restart to see start-up's own lines in this test's log.
    display.shutDown();
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(display.isStarted());
    ASSERT_NE(display.getWindow(), nullptr);
    EXPECT_TRUE(display.getWindow()->isOpen());
    EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1024, 768));
    EXPECT_EQ(countLogLines("Started up DisplayManager"), 1);
    EXPECT_FALSE(logHasLineStartingWith("ERROR:"));
}

TEST_F(DisplayManagerWindowTest, StartUpAndShutDownLinesHaveTheirLevels) {
    log.setLogLevel(1);
    display.shutDown();
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_EQ(countLogLines("Started up DisplayManager"), 0);
    EXPECT_EQ(countLogLines("Shut down DisplayManager"), 1);

    log.setLogLevel(0);
    display.shutDown();
    EXPECT_EQ(countLogLines("Shut down DisplayManager"), 2);
    log.setLogLevel(2);
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_EQ(countLogLines("Started up DisplayManager"), 1);
}

TEST_F(DisplayManagerWindowTest, SecondStartUpKeepsTheWindow) {
    const sf::RenderWindow* window = display.getWindow();
    log.setLogLevel(1);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(countLogLines("Redundant DisplayManager startUp call"), 0);
    log.setLogLevel(2);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    EXPECT_TRUE(display.isStarted());
    EXPECT_THAT(readLogLines(),
                ElementsAre("Started up LogManager", "Redundant DisplayManager startUp call"));
}

TEST_F(DisplayManagerWindowTest, CellBoxIsBlackAtItsOffsetAndCoversWhatWasBeneath) {
    fillFrame(WHITE);
    // A space draws the box alone, so every pixel of the cell is the box's or the background's.
    ASSERT_EQ(display.drawCh(Vector(0, 0), ' ', bw::COLOR_RED), 0);
    const WindowCapture frame = capture();

    // Cell (0, 0): a 12.8 x 31 box at (1.28, 6.4) covers pixels 1..13 across and 6..36 down.
    EXPECT_TRUE(frame.allPixels(1, 6, 13, 36, BLACK));
    EXPECT_TRUE(frame.allPixels(0, 0, 0, 40, WHITE)) << "left of the box";
    EXPECT_TRUE(frame.allPixels(14, 0, 14, 40, WHITE)) << "right of the box";
    EXPECT_TRUE(frame.allPixels(0, 5, 20, 5, WHITE)) << "above the box";
    EXPECT_TRUE(frame.allPixels(0, 37, 20, 37, WHITE)) << "below the box";
    EXPECT_EQ(frame.countPixels(BLACK), 13 * 31);
}

TEST_F(DisplayManagerWindowTest, CellBoxFollowsWholeAndFractionalCellPositions) {
    for (const Vector position : {Vector(3, 2), Vector(79, 23), Vector(10.5f, 5.25f)}) {
        fillFrame(WHITE);
        ASSERT_EQ(display.drawCh(position, ' ', bw::COLOR_RED), 0);
        const WindowCapture frame = capture();
        const PixelRect box = cellBox(position.getX(), position.getY());
        SCOPED_TRACE(position.toString());
        EXPECT_TRUE(frame.allPixels(box.left, box.top, box.right, box.bottom, BLACK));
        // The last cell's box reaches past the window's edges; only the part inside is drawn.
        const int visible_width = std::min(box.right, 1023) - box.left + 1;
        const int visible_height = std::min(box.bottom, 767) - box.top + 1;
        EXPECT_EQ(frame.countPixels(BLACK), visible_width * visible_height);
    }
    // Cell (3, 2) spelled out: x from 39.68 to 52.48, y from 70.4 to 101.4.
    const PixelRect box = cellBox(3, 2);
    EXPECT_EQ(box.left, 40);
    EXPECT_EQ(box.right, 51);
    EXPECT_EQ(box.top, 70);
    EXPECT_EQ(box.bottom, 100);
}

TEST_F(DisplayManagerWindowTest, GlyphIsDrawnInItsFillColourInsideItsCell) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::Color(255, 0, 0, 1.0f)), 0);
    const WindowCapture frame = capture();
    // The cell spans x 64..76.8 and y 160..192; a bold character may reach a pixel or two past
    // its right edge. The solid strokes are the exact fill colour.
    const int inside = frame.countPixels(64, 160, 79, 191, GLYPH_RED);
    EXPECT_GT(inside, 60);
    EXPECT_EQ(frame.countPixels(GLYPH_RED), inside) << "no glyph pixels outside the cell";
}

TEST_F(DisplayManagerWindowTest, GlyphColourHonoursAlpha) {
    fillFrame(BLACK);
    // Alpha 0.5 becomes 127 of 255, so a solid stroke over black keeps 127/255 of the green.
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::Color(0, 255, 0, 0.5f)), 0);
    const WindowCapture frame = capture();
    EXPECT_GT(frame.countPixels(64, 160, 79, 191, sf::Color(0, 127, 0, 255)), 60);
    EXPECT_EQ(frame.countPixels(sf::Color(0, 255, 0, 255)), 0);
}

TEST_F(DisplayManagerWindowTest, CharacterIsBoldAtSizeTwentyFiveAtTheCellCorner) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(7, 3), 'W', bw::COLOR_YELLOW), 0);
    const WindowCapture frame = capture();

    // The same character drawn by hand with the size, style and place the grid calls for.
    sf::Font font;
    ASSERT_TRUE(font.openFromFile(SYSTEM_FONT));
    const auto reference = [&](unsigned size, std::uint32_t style) {
        sf::RenderTexture target({1024, 768});
        target.clear(BLACK);
        sf::RectangleShape box({12.8f, 31.0f});
        box.setFillColor(BLACK);
        box.setPosition({7 * 12.8f + 1.28f, 3 * 32.0f + 6.4f});
        target.draw(box);
        sf::Text text(font, "W", size);
        text.setStyle(style);
        text.setFillColor(sf::Color::Yellow);
        text.setPosition({7 * 12.8f, 3 * 32.0f});
        target.draw(text);
        target.display();
        return target.getTexture().copyToImage();
    };
    const auto differing = [&](const sf::Image& expected) {
        int count = 0;
        for (unsigned y = 64; y < 192; ++y)
            for (unsigned x = 64; x < 160; ++x)
                if (expected.getPixel({x, y}) != frame.pixel(static_cast<int>(x), static_cast<int>(y)))
                    ++count;
        return count;
    };
    EXPECT_EQ(differing(reference(25, sf::Text::Bold)), 0);
    // The comparison tells these apart: a regular or a larger character would not match.
    EXPECT_GT(differing(reference(25, sf::Text::Regular)), 0);
    EXPECT_GT(differing(reference(30, sf::Text::Bold)), 0);
}

TEST_F(DisplayManagerWindowTest, LaterCharacterCoversTheEarlierOneInItsCell) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    ASSERT_GT(capture().countPixels(GLYPH_RED), 60);
    ASSERT_EQ(display.drawCh(Vector(5, 5), ' ', bw::COLOR_BLUE), 0);
    EXPECT_EQ(capture().countPixels(GLYPH_RED), 0);
}

TEST_F(DisplayManagerWindowTest, DrawStringPlacesStringsByJustification) {
    struct Case {
        std::string text;
        bw::Justification just;
        std::vector<int> columns;
    };
    const std::vector<Case> cases = {
        {"     ", bw::CENTER_JUSTIFIED, {8, 9, 10, 11, 12}},
        {"    ", bw::CENTER_JUSTIFIED, {8, 9, 10, 11}},
        {"    ", bw::RIGHT_JUSTIFIED, {6, 7, 8, 9}},
        {"     ", bw::RIGHT_JUSTIFIED, {5, 6, 7, 8, 9}},
        {"    ", bw::LEFT_JUSTIFIED, {10, 11, 12, 13}},
        {"   ", static_cast<bw::Justification>(7), {10, 11, 12}},
        {" ", bw::CENTER_JUSTIFIED, {10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.text.size()) + ", justification " + std::to_string(c.just));
        fillFrame(WHITE);
        ASSERT_EQ(display.drawString(Vector(10, 4), c.text, bw::COLOR_WHITE, c.just), 0);
        const WindowCapture frame = capture();
        EXPECT_THAT(drawnColumns(frame, 4), ElementsAreArray(c.columns));
        EXPECT_TRUE(drawnColumns(frame, 3).empty());
        EXPECT_TRUE(drawnColumns(frame, 5).empty());
    }
}

TEST_F(DisplayManagerWindowTest, DrawStringDrawsEachCharacterInItsOwnCell) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawString(Vector(20, 6), "a#Z", bw::COLOR_CYAN, bw::LEFT_JUSTIFIED), 0);
    const WindowCapture by_string = capture();
    fillFrame(BLACK);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(display.drawCh(Vector(20.0f + i, 6), "a#Z"[i], bw::COLOR_CYAN), 0);
    const WindowCapture by_character = capture();
    int differing = 0;
    for (int y = 160; y < 260; ++y)
        for (int x = 240; x < 320; ++x)
            if (by_string.pixel(x, y) != by_character.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_GT(by_string.countPixels(sf::Color::Cyan), 30);
}

TEST_F(DisplayManagerWindowTest, TransparentCharacterLeavesItsCellUntouched) {
    fillFrame(WHITE);
    ASSERT_EQ(display.drawCh(Vector(5, 3), 'H', bw::COLOR_RED), 0);
    const WindowCapture before = capture();
    ASSERT_GT(before.countPixels(GLYPH_RED), 60);

    const char transparent = '.';
    // The neighbours are spaces: their boxes stay inside their own cells, where glyphs may not.
    ASSERT_EQ(display.drawString(Vector(4, 3), " . ", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &transparent), 0);
    const WindowCapture after = capture();
    EXPECT_THAT(drawnColumns(after, 3), ::testing::IsSupersetOf({4, 6}));
    // Column 5's box with the 'H' on it is exactly as it was.
    const PixelRect kept = cellBox(5, 3);
    int changed = 0;
    for (int y = kept.top; y <= kept.bottom; ++y)
        for (int x = kept.left; x <= kept.right; ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) ++changed;
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(after.countPixels(GLYPH_RED), before.countPixels(GLYPH_RED));
    // Every position writes the string once, the skipped one included.
    EXPECT_THAT(readLogLines(),
                ElementsAre("Started up LogManager", "draw string has been called", " . ", " . ", " . "));
}

TEST_F(DisplayManagerWindowTest, TransparentCellOverBackgroundStaysBackground) {
    fillFrame(WHITE);
    const char transparent = '.';
    ASSERT_EQ(display.drawString(Vector(4, 3), " . ", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &transparent), 0);
    const WindowCapture frame = capture();
    EXPECT_THAT(drawnColumns(frame, 3), ElementsAre(4, 6));
    const PixelRect skipped = cellBox(5, 3);
    EXPECT_TRUE(frame.allPixels(skipped.left, skipped.top, skipped.right, skipped.bottom, WHITE));
}

TEST_F(DisplayManagerWindowTest, SwapBuffersLeavesABlackFrame) {
    fillFrame(WHITE);
    ASSERT_EQ(display.drawString(Vector(0, 0), "swap", bw::COLOR_RED, bw::LEFT_JUSTIFIED), 0);
    ASSERT_GT(capture().countPixels(WHITE), 0);
    EXPECT_EQ(display.swapBuffers(), 0);
    const WindowCapture frame = capture();
    EXPECT_EQ(frame.countPixels(BLACK), 1024 * 768);
}

TEST_F(DisplayManagerWindowTest, FailedFontChangeKeepsDrawingWithTheFontThatOpened) {
    display.openFont("missing-font.ttf");
    EXPECT_THAT(readLogLines(),
                ElementsAre("Started up LogManager", "ERROR: Unable to load font missing-font.ttf"));
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    EXPECT_GT(capture().countPixels(GLYPH_RED), 60);
}

TEST_F(DisplayManagerWindowTest, AfterShutDownDrawingFailsUntilTheNextStartUp) {
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', bw::COLOR_WHITE), -1);
    EXPECT_EQ(display.drawString(Vector(1, 1), "xy", bw::COLOR_WHITE, bw::LEFT_JUSTIFIED), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    display.shutDown();
    EXPECT_THAT(readLogLines(),
                ElementsAre("Started up LogManager", "Shut down DisplayManager",
                            "WARNING: attempted to draw character before window initialized",
                            "draw string has been called", "xy",
                            "WARNING: attempted to draw character before window initialized"));

    ASSERT_EQ(display.startUp(), 0);
    ASSERT_NE(display.getWindow(), nullptr);
    fillFrame(WHITE);
    EXPECT_EQ(display.drawCh(Vector(0, 0), ' ', bw::COLOR_WHITE), 0);
    EXPECT_TRUE(capture().allPixels(1, 6, 13, 36, BLACK));
}

} // namespace
