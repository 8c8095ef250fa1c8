// The display manager with a real window: the cell drawCh makes (read back through a recording
// renderer), where frames, sprites and an object's visible box land, one glyph's pixels, the batched drawing against the plain drawing of each cell in turn, and which
// frames swapBuffers shows; and before all that, with no font opened at all.
#include "DisplayManager.h"

#include "Frame.h"
#include "LogManager.h"
#include "Object.h"
#include "Sprite.h"

#include "LogReader.h"
#include "RecordedScreen.h"
#include "ReferenceCellRenderer.h"
#include "ReferenceScreens.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

// Cells still get their boxes and characters are left out instead of taking the program down.
// First in this file, so that no font has opened before it even when the tests run in one
// process; the tests after it show that a font opening later is used from then on.
TEST(DisplayManagerNoFontWindowTest, CharactersWithoutAFontGetTheirBoxOnlyUntilAFontOpens) {
    const TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    log.setLogLevel(-1);
    ASSERT_EQ(log.startUp(), 0);
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    // No bw-font.ttf in this folder: start-up reports it and goes on. A second start-up, while
    // the window is open, keeps it (at level 2 it says so).
    ASSERT_EQ(display.startUp(), 0);
    const sf::RenderWindow* window = display.getWindow();
    EXPECT_EQ(window->getSize(), sf::Vector2u(1024, 768));
    log.setLogLevel(1);
    EXPECT_EQ(display.startUp() + display.isStarted(), 1);
    log.setLogLevel(-1);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);

    display.getWindow()->clear(sf::Color::White);
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'H', bw::COLOR_RED), 0);
    EXPECT_EQ(display.drawString(Vector(2, 0), "HH", bw::COLOR_RED, bw::LEFT_JUSTIFIED), 0);
    display.openFont("Fonts/missing.ttf"); // a second failure changes nothing
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'H', bw::COLOR_RED), 0);
    const sf::Image frame = RecordedScreen::framePixels();
    EXPECT_EQ(RecordedScreen::countPixels(frame, sf::Color::Red), 0) << "no glyph";
    // But the boxes of cells 0, 2 and 3: 12.8 pixels cover 13, 13 and 12 whole pixels across.
    EXPECT_EQ(RecordedScreen::countPixels(frame, sf::Color::Black), (13 + 13 + 12) * 31);
    // The font errors are logged once each, nothing per character.
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", "ERROR: Unable to load font bw-font.ttf",
                                            "Started up DisplayManager", "Redundant DisplayManager startUp call",
                                            "draw string has been called", "HH", "HH",
                                            "ERROR: Unable to load font Fonts/missing.ttf"));

    display.shutDown();
    EXPECT_TRUE(display.getWindow() == nullptr && !display.isStarted());
    EXPECT_EQ(countLogLines("Shut down DisplayManager"), 1);
    log.shutDown();
}

// Not black, so that a box a pixel too small or too large shows.
const sf::Color BACKGROUND(40, 90, 140, 255);

/// Draws the screen with the display manager's renderer and with the reference, on a coloured
/// background and on the black of a fresh frame, and expects the same pixels, with more than ink
/// pixels not left as they were (not an empty frame drawn twice).
void expectSamePixels(const std::string& screen, const std::function<void()>& draw, int ink) {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ReferenceCellRenderer reference;
    for (const sf::Color background : {BACKGROUND, sf::Color::Black}) {
        std::vector<sf::Image> frames;
        for (bw::CellRenderer* renderer : std::initializer_list<bw::CellRenderer*>{nullptr, &reference}) {
            display.setCellRenderer(renderer);
            display.swapBuffers();
            // Asking for the window to clear it would spoil the fresh frame's black.
            if (background != sf::Color::Black) display.getWindow()->clear(background);
            draw();
            frames.push_back(RecordedScreen::framePixels());
            display.swapBuffers();
        }
        display.setCellRenderer(nullptr);
        EXPECT_EQ(std::memcmp(frames[0].getPixelsPtr(), frames[1].getPixelsPtr(), std::size_t{4} * 1024 * 768), 0)
            << screen << " on " << (background == BACKGROUND ? "the background" : "black");
        EXPECT_GT(1024 * 768 - RecordedScreen::countPixels(frames[0], background), ink) << screen;
    }
}

class DisplayManagerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf", bw::FONT_FILE_DEFAULT);
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        ASSERT_EQ(display.startUp(), 0);
    }
    void TearDown() override {
        display.shutDown();
        log.shutDown();
    }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
};

// A cell's black box is one cell wide and a pixel less than a cell high, shifted right by a
// tenth of a cell and down by a fifth, from a fractional position as from a whole one. Read as
// pixels, the box, and nothing else, is black and hides what lay beneath; the character is drawn
// in its colour inside its own cell.
TEST_F(DisplayManagerWindowTest, CellIsItsCharacterInItsColourOnAShiftedBox) {
    {
        const RecordedScreen screen;
        ASSERT_EQ(display.drawCh(Vector(10.5f, 5.25f), 'W', bw::Color(0, 255, 0, 0.5f)), 0);
        const RecordedScreen::Draw& cell = screen.at(10.5f, 5.25f);
        EXPECT_EQ(std::pair(cell.ch, cell.color), std::pair('W', sf::Color(0, 255, 0, 127))); // 0.5 of 255
        const sf::FloatRect& box = cell.box;
        EXPECT_LT(std::fabs(box.position.x - 10.6f) + std::fabs(box.position.y - 5.45f) +
                      std::fabs(box.size.x - 1.0f) + std::fabs(box.size.y - 31.0f / 32.0f), 1e-3f);
    }
    display.getWindow()->clear(sf::Color::White);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    const sf::Image frame = RecordedScreen::framePixels();
    const auto count = [&](sf::Color color, auto... box) { return RecordedScreen::countPixels(frame, color, box...); };
    // The box covers x 65.28..78.08 and y 166.4..197.4: the pixels whose centres lie inside.
    EXPECT_EQ(count(sf::Color::White, 65, 166, 77, 196), 0);
    EXPECT_EQ(count(sf::Color::Black), count(sf::Color::Black, 65, 166, 77, 196));
    // The cell spans x 64..76.8 and y 160..192; a bold character may reach a pixel past its right edge.
    const int red = count(sf::Color::Red, 64, 160, 79, 191);
    EXPECT_GT(red, 60);
    EXPECT_EQ(count(sf::Color::Red), red) << "no glyph pixels outside the cell";
}

TEST_F(DisplayManagerWindowTest, FramesSpritesAndVisibleBoxesLandOnTheirCells) {
    RecordedScreen screen;
    // Rows and columns start half the frame's size before the position (rounded down for
    // columns): a frame of odd height at y + 0.5 and one of even height at y have whole rows. The
    // height is the length over the width, as a float: six characters on a width changed to 4
    // make one row, centred as 1.5 rows, so at y + 0.75 it lands on y.
    bw::Frame odd(3, "abcdefghi");
    odd.setColor(bw::COLOR_RED);
    EXPECT_EQ(odd.draw(Vector(10, 10.5f), nullptr), 0);
    EXPECT_EQ(bw::Frame(4, "wxyzWXYZ").draw(Vector(30, 10), nullptr), 0);
    bw::Frame narrowed(3, "abcdef");
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
    sprite.insertFrame(bw::Frame(2, "A."));
    sprite.insertFrame(bw::Frame(2, ".B"));
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
}

// The same screens drawn both ways must leave the same pixels; cells collected when the window
// closes never reach the next one.
TEST_F(DisplayManagerWindowTest, BatchedScreensMatchTheReferenceAndCellsDrawnBeforeShutDownNeverReachTheNextWindow) {
    ReferenceScreens screens;
    ASSERT_TRUE(screens.load()) << screens.why();

    expectSamePixels("full screen", ReferenceScreens::drawFullScreen, 200000);
    expectSamePixels("title screen", ReferenceScreens::drawTitleScreen, 30000);
    ReferenceScreens::preparePlayWeb();
    expectSamePixels("play screen", ReferenceScreens::drawPlayScreen, 30000);
    // Something drawn straight into the window between cells lands between them, as it would
    // if every cell went into the window at once.
    sf::RectangleShape veil({400.0f, 300.0f});
    veil.setPosition({200.5f, 150.25f});
    veil.setFillColor(sf::Color(255, 255, 0, 100));
    expectSamePixels("veiled play screen", [&] {
        ReferenceScreens::drawPlayScreen();
        display.getWindow()->draw(veil);
        ReferenceScreens::drawTitleScreen();
    }, 30000);

    ReferenceScreens::drawFullScreen(); // collected, not yet in the window
    display.shutDown();
    ASSERT_EQ(display.startUp(), 0);
    display.getWindow()->clear(sf::Color::Black);
    // The next cell flushes whatever the renderer still holds: a black box on black, nothing else.
    ASSERT_EQ(display.drawCh(bw::Vector(0, 0), ' ', bw::COLOR_WHITE), 0);
    EXPECT_EQ(RecordedScreen::countPixels(RecordedScreen::framePixels(), sf::Color::Black), 1024 * 768);
}

// A frame drawn cell for cell like the one on screen is left out, but never more than
// MAX_KEPT_FRAMES in a row, and never when anything else may have changed what the window
// shows: a different cell, the window handed out, another font.
TEST_F(DisplayManagerWindowTest, FrameLikeTheOneOnScreenIsNotShownAgain) {
    // For each text drawn as a frame of its own: 1 when the frame reached the window, 0 when not.
    const auto shown = [&](const std::vector<std::string>& texts) {
        std::string got;
        for (const std::string& text : texts) {
            const long before = display.getShownFrameCount();
            display.drawString(Vector(3, 4), text, bw::COLOR_RED, bw::LEFT_JUSTIFIED);
            EXPECT_EQ(display.swapBuffers(), 0);
            got += std::to_string(display.getShownFrameCount() - before);
        }
        return got;
    };
    const int kept = bw::DisplayManager::MAX_KEPT_FRAMES;
    EXPECT_EQ(shown(std::vector<std::string>(kept + 3, "same")), "1" + std::string(kept, '0') + "10");
    EXPECT_EQ(shown({"sane", "sane", "sanex", "sane"}), "1011") << "a character changed, a cell more, one fewer";
    display.getWindow();
    EXPECT_EQ(shown({"sane", "sane"}), "10") << "the window was handed out";
    display.openFont(bw::FONT_FILE_DEFAULT);
    EXPECT_EQ(shown({"sane", "", ""}), "110") << "another font, then nothing drawn after something";
    // A frame left out leaves the frame after it drawn on black, as a shown one does.
    EXPECT_EQ(shown({"same", "same"}), "10");
    EXPECT_EQ(RecordedScreen::countPixels(RecordedScreen::framePixels(), sf::Color::Black), 1024 * 768);
    // Turned off, or with another renderer, every frame is shown.
    display.setFrameReuse(false);
    EXPECT_EQ(shown({"same", "same"}), "11");
    display.setFrameReuse(true);
    const RecordedScreen screen;
    EXPECT_EQ(shown({"same", "same"}), "11");
}

} // namespace
