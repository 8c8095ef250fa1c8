// The display manager with a window but without any font that opened: cells still get their
// boxes, characters are left out instead of taking the program down, and the first font that
// opens later is used from then on. Its own executable, so no earlier test has opened a font.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "RecordedScreen.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using bw::Vector;
using ::testing::ElementsAre;

namespace {

TEST(DisplayManagerNoFontWindowTest, CharactersWithoutAFontGetTheirBoxOnlyUntilAFontOpens) {
    const TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    log.setLogLevel(-1);
    ASSERT_EQ(log.startUp(), 0);
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    // No bw-font.ttf in this folder: start-up reports it and goes on.
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_NE(display.getWindow(), nullptr);

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
    const sf::Image later = RecordedScreen::framePixels();
    EXPECT_GT(RecordedScreen::countPixels(later, sf::Color::Red, 64, 160, 79, 191), 60);

    display.shutDown();
    log.shutDown();
}

} // namespace
