// The display manager with a real window: what drawCh, drawString and swapBuffers leave in the
// frame, read back pixel by pixel before the frame is shown.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

const std::filesystem::path DEJAVU_FONT = TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf";
const sf::Color BLACK = sf::Color::Black;
const sf::Color WHITE = sf::Color::White;
const sf::Color RED = sf::Color::Red;

/// The pixels (inclusive) of a cell's black box: one cell wide and a pixel less than a cell
/// high, shifted right by a tenth of a cell and down by a fifth. A pixel belongs to the box when
/// its centre lies inside, so an edge at e starts the run at ceil(e - 0.5).
struct PixelRect {
    int left, top, right, bottom;
};
PixelRect cellBox(float column, float row) {
    const auto first = [](float edge) { return static_cast<int>(std::ceil(edge - 0.5f)); };
    const float left = column * 12.8f + 1.28f;
    const float top = row * 32.0f + 6.4f;
    return {first(left), first(top), first(left + 12.8f) - 1, first(top + 31.0f) - 1};
}

bool sameImage(const sf::Image& a, const sf::Image& b) {
    const std::size_t bytes = std::size_t{4} * a.getSize().x * a.getSize().y;
    return a.getSize() == b.getSize() && std::memcmp(a.getPixelsPtr(), b.getPixelsPtr(), bytes) == 0;
}

class DisplayManagerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        std::filesystem::copy_file(DEJAVU_FONT, bw::FONT_FILE_DEFAULT);
    }
    static void TearDownTestSuite() {
        bw::DisplayManager::getInstance().shutDown();
        bw::LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(display.getWindow() != nullptr || display.startUp() == 0);
        ASSERT_NE(display.getWindow(), nullptr);
        // A fresh log for every test.
        log.shutDown();
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
    }

    /// Fills the frame being drawn with one colour, as something drawn earlier in the frame.
    void fillFrame(sf::Color color) { display.getWindow()->clear(color); }
    WindowCapture capture() const { return WindowCapture(*display.getWindow()); }

    /// The columns of a row whose cell box is black (drawn), read near each box's bottom left.
    std::vector<int> drawnColumns(const WindowCapture& frame, int row) const {
        std::vector<int> columns;
        for (int column = 0; column < 80; ++column) {
            const PixelRect box = cellBox(static_cast<float>(column), static_cast<float>(row));
            if (frame.pixel(box.left + 1, box.bottom - 1) == BLACK) columns.push_back(column);
        }
        return columns;
    }

    static std::unique_ptr<TempWorkDir> work_dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
};

std::unique_ptr<TempWorkDir> DisplayManagerWindowTest::work_dir;

TEST_F(DisplayManagerWindowTest, StartUpIsRedundantWhileOpenAndOpensANewWindowAfterShutDown) {
    const sf::RenderWindow* window = display.getWindow();
    EXPECT_EQ(window->getSize(), sf::Vector2u(1024, 768));
    log.setLogLevel(1); // the redundancy line is level 2
    EXPECT_EQ(display.startUp(), 0);
    log.setLogLevel(2);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    EXPECT_TRUE(display.isStarted());

    log.setLogLevel(0); // the shut-down line is level 0, the draw warning level 1
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', bw::COLOR_WHITE), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    log.setLogLevel(2);
    ASSERT_EQ(display.startUp(), 0);
    // The default font opened without an error.
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", "Redundant DisplayManager startUp call",
                                            "Shut down DisplayManager", "Started up DisplayManager"));
    ASSERT_NE(display.getWindow(), nullptr);
    fillFrame(WHITE);
    EXPECT_EQ(display.drawCh(Vector(0, 0), ' ', bw::COLOR_WHITE), 0);
    EXPECT_TRUE(capture().allPixels(1, 6, 13, 36, BLACK));
}

TEST_F(DisplayManagerWindowTest, CellBoxIsBlackAtItsOffsetAndCoversWhatWasBeneath) {
    fillFrame(WHITE);
    // A space draws the box alone. Cell (0, 0): a 12.8 x 31 box at (1.28, 6.4).
    ASSERT_EQ(display.drawCh(Vector(0, 0), ' ', bw::COLOR_RED), 0);
    WindowCapture frame = capture();
    EXPECT_TRUE(frame.allPixels(1, 6, 13, 36, BLACK));
    EXPECT_EQ(frame.countPixels(BLACK), 13 * 31) << "nothing else is black";

    // Whole and fractional cells; the last cell's box reaches past the window's edges.
    for (const Vector position : {Vector(3, 2), Vector(79, 23), Vector(10.5f, 5.25f)}) {
        SCOPED_TRACE(position.toString());
        fillFrame(WHITE);
        ASSERT_EQ(display.drawCh(position, ' ', bw::COLOR_RED), 0);
        frame = capture();
        const PixelRect box = cellBox(position.getX(), position.getY());
        EXPECT_TRUE(frame.allPixels(box.left, box.top, box.right, box.bottom, BLACK));
        const int width = std::min(box.right, 1023) - box.left + 1;
        EXPECT_EQ(frame.countPixels(BLACK), width * (std::min(box.bottom, 767) - box.top + 1));
    }
}

TEST_F(DisplayManagerWindowTest, GlyphIsDrawnInItsFillColourAndAlphaInsideItsCell) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::Color(255, 0, 0, 1.0f)), 0);
    WindowCapture frame = capture();
    // The cell spans x 64..76.8 and y 160..192; a bold character may reach a pixel past its right edge.
    const int inside = frame.countPixels(64, 160, 79, 191, RED);
    EXPECT_GT(inside, 60);
    EXPECT_EQ(frame.countPixels(RED), inside) << "no glyph pixels outside the cell";

    // Alpha 0.5 becomes 127 of 255, so a solid stroke over black keeps 127/255 of the green.
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::Color(0, 255, 0, 0.5f)), 0);
    frame = capture();
    EXPECT_GT(frame.countPixels(64, 160, 79, 191, sf::Color(0, 127, 0)), 60);
    EXPECT_EQ(frame.countPixels(sf::Color::Green), 0);
}

TEST_F(DisplayManagerWindowTest, CharacterIsBoldAtSizeTwentyFiveAtTheCellCorner) {
    fillFrame(BLACK);
    ASSERT_EQ(display.drawCh(Vector(7, 3), 'W', bw::COLOR_YELLOW), 0);
    const sf::Image drawn = capture().image();

    // The same character by hand; the black box is invisible on black. The comparison tells the
    // right size and style apart from near misses.
    sf::Font font;
    ASSERT_TRUE(font.openFromFile(DEJAVU_FONT));
    const auto byHand = [&](unsigned size, std::uint32_t style) {
        fillFrame(BLACK);
        sf::Text text(font, "W", size);
        text.setStyle(style);
        text.setFillColor(sf::Color::Yellow);
        text.setPosition({7 * 12.8f, 3 * 32.0f});
        display.getWindow()->draw(text);
        return sameImage(capture().image(), drawn);
    };
    EXPECT_TRUE(byHand(25, sf::Text::Bold));
    EXPECT_FALSE(byHand(25, sf::Text::Regular));
    EXPECT_FALSE(byHand(30, sf::Text::Bold));
}

TEST_F(DisplayManagerWindowTest, DrawStringPlacesStringsByJustification) {
    struct Case {
        std::string text;
        bw::Justification just;
        std::vector<int> columns;
    };
    const Case cases[] = {
        {"     ", bw::CENTER_JUSTIFIED, {8, 9, 10, 11, 12}}, {"    ", bw::CENTER_JUSTIFIED, {8, 9, 10, 11}},
        {"    ", bw::RIGHT_JUSTIFIED, {6, 7, 8, 9}},        {"     ", bw::RIGHT_JUSTIFIED, {5, 6, 7, 8, 9}},
        {"    ", bw::LEFT_JUSTIFIED, {10, 11, 12, 13}},     {" ", bw::CENTER_JUSTIFIED, {10}},
        {"   ", static_cast<bw::Justification>(3), {10, 11, 12}}, // no such value: left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.text.size()) + ", justification " + std::to_string(c.just));
        fillFrame(WHITE);
        ASSERT_EQ(display.drawString(Vector(10, 4), c.text, bw::COLOR_WHITE, c.just), 0);
        const WindowCapture frame = capture();
        EXPECT_THAT(drawnColumns(frame, 4), ::testing::ElementsAreArray(c.columns));
        const PixelRect row = cellBox(0, 4);
        EXPECT_EQ(frame.countPixels(BLACK), frame.countPixels(0, row.top, 1023, row.bottom, BLACK));
    }
}

TEST_F(DisplayManagerWindowTest, DrawStringDrawsEachCharacterInItsCellAndSkipsTransparentOnes) {
    fillFrame(WHITE);
    ASSERT_EQ(display.drawCh(Vector(5, 3), 'H', bw::COLOR_RED), 0);
    const char dot = '.';
    ASSERT_EQ(display.drawString(Vector(4, 3), "a.Z", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &dot), 0);
    const WindowCapture by_string = capture();
    EXPECT_THAT(drawnColumns(by_string, 3), ElementsAre(4, 5, 6));
    EXPECT_GT(by_string.countPixels(RED), 60) << "the 'H' beneath the transparent dot";

    // The same frame drawn character by character, column 5 left as the 'H' made it.
    fillFrame(WHITE);
    ASSERT_EQ(display.drawCh(Vector(5, 3), 'H', bw::COLOR_RED), 0);
    ASSERT_EQ(display.drawCh(Vector(4, 3), 'a', bw::COLOR_GREEN), 0);
    ASSERT_EQ(display.drawCh(Vector(6, 3), 'Z', bw::COLOR_GREEN), 0);
    EXPECT_TRUE(sameImage(by_string.image(), capture().image()));
}

TEST_F(DisplayManagerWindowTest, SwapBuffersLeavesABlackFrame) {
    fillFrame(WHITE);
    ASSERT_EQ(display.drawString(Vector(0, 0), "swap", bw::COLOR_RED, bw::LEFT_JUSTIFIED), 0);
    EXPECT_EQ(display.swapBuffers(), 0);
    EXPECT_EQ(capture().countPixels(BLACK), 1024 * 768);
}

} // namespace

// A frame drawn cell for cell like the one on screen is left out, but never more than
// MAX_KEPT_FRAMES in a row, and never when anything else may have changed what the window
// shows: a different cell, the window handed out, another font, another renderer.
TEST_F(DisplayManagerWindowTest, FrameLikeTheOneOnScreenIsNotShownAgain) {
    const auto draw = [&](const std::string& text) {
        ASSERT_EQ(display.drawString(Vector(3, 4), text, bw::COLOR_RED, bw::LEFT_JUSTIFIED), 0);
    };
    // Counts how many of the frames drawn by frame() reached the window.
    const auto shown = [&](const std::function<void()>& frame) {
        const long before = display.getShownFrameCount();
        frame();
        EXPECT_EQ(display.swapBuffers(), 0);
        return display.getShownFrameCount() - before;
    };
    EXPECT_EQ(shown([&] { draw("same"); }), 1);
    for (int kept = 0; kept < bw::DisplayManager::MAX_KEPT_FRAMES; ++kept)
        EXPECT_EQ(shown([&] { draw("same"); }), 0) << "frame " << kept;
    EXPECT_EQ(shown([&] { draw("same"); }), 1) << "shown again after the most frames kept";
    EXPECT_EQ(shown([&] { draw("same"); }), 0);
    EXPECT_EQ(shown([&] { draw("sane"); }), 1) << "one character changed";
    EXPECT_EQ(shown([&] { draw("sane"); }), 0);
    EXPECT_EQ(shown([&] {
                  draw("sane");
                  draw("x");
              }),
              1)
        << "one cell more";
    EXPECT_EQ(shown([&] { draw("sane"); }), 1) << "one cell fewer";
    EXPECT_EQ(shown([&] {
                  display.getWindow();
                  draw("sane");
              }),
              1)
        << "the window was handed out to draw into";
    EXPECT_EQ(shown([&] { draw("sane"); }), 0);
    EXPECT_EQ(shown([&] {
                  draw("sane");
                  display.openFont(bw::FONT_FILE_DEFAULT);
              }),
              1)
        << "another font";
    EXPECT_EQ(shown([] {}), 1) << "nothing drawn after something";
    EXPECT_EQ(shown([] {}), 0);
    // A frame left out leaves the frame after it drawn on black, as a shown one does.
    EXPECT_EQ(shown([&] { draw("same"); }), 1);
    EXPECT_EQ(shown([&] { draw("same"); }), 0);
    EXPECT_EQ(capture().countPixels(BLACK), 1024 * 768);
    // Turned off, every frame is shown.
    display.setFrameReuse(false);
    EXPECT_EQ(shown([&] { draw("same"); }), 1);
    EXPECT_EQ(shown([&] { draw("same"); }), 1);
    display.setFrameReuse(true);
}
