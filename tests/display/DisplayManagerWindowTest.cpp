// The display manager with a real window: the cells drawCh and drawString make (read back
// through a recording renderer), one glyph's pixels, and which frames swapBuffers shows.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "RecordedScreen.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

const sf::Color BLACK = sf::Color::Black;

class DisplayManagerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* font = TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf";
        std::filesystem::copy_file(font, bw::FONT_FILE_DEFAULT);
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

TEST_F(DisplayManagerWindowTest, StartUpIsRedundantWhileOpenAndOpensANewWindowAfterShutDown) {
    const sf::RenderWindow* window = display.getWindow();
    EXPECT_EQ(window->getSize(), sf::Vector2u(1024, 768));
    log.setLogLevel(1); // the redundancy line is level 2
    EXPECT_EQ(display.startUp(), 0);
    log.setLogLevel(2);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    display.shutDown();
    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(display.isStarted());
    // The default font opened without an error.
    const std::string started = "Started up DisplayManager", stopped = "Shut down DisplayManager";
    const std::string redundant = "Redundant DisplayManager startUp call";
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", started, redundant, stopped, started));
}

// A cell's black box is one cell wide and a pixel less than a cell high, shifted right by a
// tenth of a cell and down by a fifth, from a fractional position as from a whole one.
TEST_F(DisplayManagerWindowTest, CellIsItsCharacterInItsColourOnAShiftedBox) {
    const RecordedScreen screen;
    ASSERT_EQ(display.drawCh(Vector(10.5f, 5.25f), 'W', bw::Color(0, 255, 0, 0.5f)), 0);
    ASSERT_EQ(screen.draws().size(), 1u);
    const auto near = [](float got, float want) { return std::fabs(got - want) < 1e-4f; };
    const RecordedScreen::Draw& cell = screen.draws()[0];
    EXPECT_EQ(cell.ch, 'W');
    EXPECT_TRUE(near(cell.x, 10.5f) && near(cell.y, 5.25f));
    EXPECT_TRUE(near(cell.box.position.x, 10.6f) && near(cell.box.position.y, 5.45f));
    EXPECT_TRUE(near(cell.box.size.x, 1.0f) && near(cell.box.size.y, 31.0f / 32.0f));
    // Alpha 0.5 is 127 of 255.
    EXPECT_EQ(cell.color, sf::Color(0, 255, 0, 127));
}

// The one glyph read as pixels: its box, and nothing else, is black and hides what lay beneath;
// the character is drawn in its colour inside its own cell.
TEST_F(DisplayManagerWindowTest, GlyphIsDrawnInItsColourOnItsBoxInsideItsCell) {
    display.getWindow()->clear(sf::Color::White);
    ASSERT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    const sf::Image frame = RecordedScreen::framePixels();
    // The box covers x 65.28..78.08 and y 166.4..197.4: the pixels whose centres lie inside.
    EXPECT_EQ(RecordedScreen::countPixels(frame, sf::Color::White, 65, 166, 77, 196), 0);
    const int black = RecordedScreen::countPixels(frame, BLACK, 65, 166, 77, 196);
    EXPECT_GT(black, 200);
    EXPECT_EQ(RecordedScreen::countPixels(frame, BLACK), black);
    // The cell spans x 64..76.8 and y 160..192; a bold character may reach a pixel past its right edge.
    const int red = RecordedScreen::countPixels(frame, sf::Color::Red, 64, 160, 79, 191);
    EXPECT_GT(red, 60);
    EXPECT_EQ(RecordedScreen::countPixels(frame, sf::Color::Red), red) << "no glyph pixels outside the cell";
}

TEST_F(DisplayManagerWindowTest, DrawStringPlacesStringsByJustificationAndSkipsTransparentCharacters) {
    const struct {
        std::string text;
        bw::Justification just;
        int first;
    } cases[] = {
        {"abcde", bw::CENTER_JUSTIFIED, 8}, {"abcd", bw::CENTER_JUSTIFIED, 8},
        {"a", bw::CENTER_JUSTIFIED, 10},    {"abcd", bw::RIGHT_JUSTIFIED, 6},
        {"abcd", bw::LEFT_JUSTIFIED, 10},
        {"abc", static_cast<bw::Justification>(3), 10}, // no such value: left
    };
    for (const auto& c : cases) {
        RecordedScreen screen;
        ASSERT_EQ(display.drawString(Vector(10, 4), c.text, bw::COLOR_BLUE, c.just), 0);
        const std::string expected = std::string(c.first, ' ') + c.text;
        EXPECT_EQ(screen.row(4), expected + std::string(80 - expected.size(), ' '))
            << c.text << ", justification " << c.just;
    }
    RecordedScreen screen;
    ASSERT_EQ(display.drawCh(Vector(5, 3), 'H', bw::COLOR_RED), 0);
    const char dot = '.';
    ASSERT_EQ(display.drawString(Vector(4, 3), "a.Z", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &dot), 0);
    EXPECT_EQ(screen.text(4, 3, 3), "aHZ");
    EXPECT_EQ(screen.draws().size(), 3u);
}

// A frame drawn cell for cell like the one on screen is left out, but never more than
// MAX_KEPT_FRAMES in a row, and never when anything else may have changed what the window
// shows: a different cell, the window handed out, another font.
TEST_F(DisplayManagerWindowTest, FrameLikeTheOneOnScreenIsNotShownAgain) {
    // Whether a frame of this text, after something else done first, reached the window.
    const auto shown = [&](const std::string& text, const std::function<void()>& first = [] {}) {
        const long before = display.getShownFrameCount();
        first();
        display.drawString(Vector(3, 4), text, bw::COLOR_RED, bw::LEFT_JUSTIFIED);
        EXPECT_EQ(display.swapBuffers(), 0);
        return display.getShownFrameCount() - before;
    };
    EXPECT_EQ(shown("same"), 1);
    for (int kept = 0; kept < bw::DisplayManager::MAX_KEPT_FRAMES; ++kept)
        EXPECT_EQ(shown("same"), 0) << "frame " << kept;
    EXPECT_EQ(shown("same"), 1) << "shown again after the most frames kept";
    EXPECT_EQ(shown("same"), 0);
    EXPECT_EQ(shown("sane"), 1) << "one character changed";
    EXPECT_EQ(shown("sane"), 0);
    EXPECT_EQ(shown("sanex"), 1) << "one cell more";
    EXPECT_EQ(shown("sane"), 1) << "one cell fewer";
    EXPECT_EQ(shown("sane", [&] { display.getWindow(); }), 1) << "the window was handed out";
    EXPECT_EQ(shown("sane"), 0);
    EXPECT_EQ(shown("sane", [&] { display.openFont(bw::FONT_FILE_DEFAULT); }), 1) << "another font";
    EXPECT_EQ(shown(""), 1) << "nothing drawn after something";
    EXPECT_EQ(shown(""), 0);
    // A frame left out leaves the frame after it drawn on black, as a shown one does.
    EXPECT_EQ(shown("same"), 1);
    EXPECT_EQ(shown("same"), 0);
    EXPECT_EQ(RecordedScreen::countPixels(RecordedScreen::framePixels(), BLACK), 1024 * 768);
    // Turned off, or with another renderer, every frame is shown.
    display.setFrameReuse(false);
    EXPECT_EQ(shown("same"), 1);
    EXPECT_EQ(shown("same"), 1);
    display.setFrameReuse(true);
    const RecordedScreen screen;
    EXPECT_EQ(shown("same"), 1);
    EXPECT_EQ(shown("same"), 1);
}

} // namespace
