// The display manager with a real window: the cells drawCh and drawString make (read back
// through a recording renderer), one glyph's pixels, and which frames swapBuffers shows; and
// before all that, with no font opened at all.
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
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

// Cells still get their boxes, characters are left out instead of taking the program down, and
// the first font that opens later is used from then on. First in this file, so that no font has
// opened before it even when the tests run in one process.
TEST(DisplayManagerNoFontWindowTest, CharactersWithoutAFontGetTheirBoxOnlyUntilAFontOpens) {
    const TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    log.setLogLevel(-1);
    ASSERT_EQ(log.startUp(), 0);
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    // No bw-font.ttf in this folder: start-up reports it and goes on.
    ASSERT_EQ(display.startUp(), 0);

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
                                            "Started up DisplayManager", "draw string has been called", "HH",
                                            "HH", "ERROR: Unable to load font Fonts/missing.ttf"));

    display.openFont(TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf");
    display.getWindow()->clear(sf::Color::Black);
    EXPECT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    EXPECT_GT(RecordedScreen::countPixels(RecordedScreen::framePixels(), sf::Color::Red, 64, 160, 79, 191), 60);

    display.shutDown();
    log.shutDown();
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

TEST_F(DisplayManagerWindowTest, StartUpIsRedundantWhileOpenAndOpensANewWindowAfterShutDown) {
    const sf::RenderWindow* window = display.getWindow();
    EXPECT_EQ(window->getSize(), sf::Vector2u(1024, 768));
    log.setLogLevel(1); // the redundancy line is level 2
    EXPECT_EQ(display.startUp(), 0);
    log.setLogLevel(2);
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    display.shutDown();
    EXPECT_TRUE(display.getWindow() == nullptr && !display.isStarted());
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_TRUE(display.isStarted());
    const std::string started = "Started up DisplayManager";
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", started, "Redundant DisplayManager startUp call",
                                            "Shut down DisplayManager", started));
}

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

TEST_F(DisplayManagerWindowTest, DrawStringPlacesStringsByJustificationAndSkipsTransparentCharacters) {
    // A string at column 10 of row 4, and what the row shows from column 5 on; '.' is transparent.
    const std::tuple<std::string, int, std::string> cases[] = {
        {"abcde", bw::CENTER_JUSTIFIED, "   abcde  "}, {"abcd", bw::CENTER_JUSTIFIED, "   abcd   "},
        {"a", bw::CENTER_JUSTIFIED, "     a    "},      {"abcd", bw::RIGHT_JUSTIFIED, " abcd     "},
        {"abcd", bw::LEFT_JUSTIFIED, "     abcd "},     {"a.Z", 3 /* no such value: left */, "     a Z  "}};
    const char dot = '.';
    for (const auto& [text, just, row] : cases) {
        const RecordedScreen screen;
        ASSERT_EQ(display.drawString(Vector(10, 4), text, bw::COLOR_BLUE, bw::Justification(just), &dot), 0);
        EXPECT_EQ(screen.text(5, 4, 10), row) << text << ", justification " << just;
    }
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
