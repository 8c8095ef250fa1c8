// The display manager with a window but without any font that opened: cells still get their
// boxes, characters are left out instead of taking the program down, and the first font that
// opens later is used from then on. Its own executable, so no earlier test has opened a font.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using bw::DisplayManager;
using bw::LogManager;
using bw::Vector;
using ::testing::ElementsAre;

namespace {

const std::filesystem::path SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const sf::Color BLACK(0, 0, 0, 255);
const sf::Color WHITE(255, 255, 255, 255);
const sf::Color RED(255, 0, 0, 255);

TEST(DisplayManagerNoFontWindowTest, CharactersWithoutAFontGetTheirBoxOnlyUntilAFontOpens) {
    const TempWorkDir dir;
    LogManager& log = LogManager::getInstance();
    log.setLogLevel(-1);
    ASSERT_EQ(log.startUp(), 0);
    DisplayManager& display = DisplayManager::getInstance();

    // No bw-font.ttf in this folder: start-up reports it and goes on.
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_NE(display.getWindow(), nullptr);
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", "ERROR: Unable to load font bw-font.ttf",
                                            "Started up DisplayManager"));

    display.getWindow()->clear(WHITE);
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'H', bw::COLOR_RED), 0);
    EXPECT_EQ(display.drawString(Vector(2, 0), "HH", bw::COLOR_RED, bw::LEFT_JUSTIFIED), 0);
    {
        const WindowCapture frame(*display.getWindow());
        EXPECT_TRUE(frame.allPixels(1, 6, 13, 36, BLACK)) << "the box is drawn";
        EXPECT_EQ(frame.countPixels(RED), 0) << "but no glyph";
        // Cells 0, 2 and 3: 12.8-pixel boxes cover 13, 13 and 12 whole pixels across.
        EXPECT_EQ(frame.countPixels(BLACK), (13 + 13 + 12) * 31);
    }
    // Nothing per character beyond drawString's own lines: the font error was logged once.
    EXPECT_THAT(readLogLines(),
                ElementsAre("Started up LogManager", "ERROR: Unable to load font bw-font.ttf",
                            "Started up DisplayManager", "draw string has been called", "HH", "HH"));

    // A second failure changes nothing, and drawing still does not abort.
    display.openFont("Fonts/missing.ttf");
    EXPECT_EQ(display.drawCh(Vector(0, 0), 'H', bw::COLOR_RED), 0);
    EXPECT_EQ(countLogLines("ERROR: Unable to load font Fonts/missing.ttf"), 1);

    // The first font that opens serves every character drawn afterwards.
    display.openFont(SYSTEM_FONT.string());
    display.getWindow()->clear(BLACK);
    EXPECT_EQ(display.drawCh(Vector(5, 5), 'H', bw::COLOR_RED), 0);
    {
        const WindowCapture frame(*display.getWindow());
        EXPECT_GT(frame.countPixels(64, 160, 79, 191, RED), 60);
    }
    EXPECT_FALSE(logHasLineStartingWith("ERROR: Unable to load font /usr"));

    display.shutDown();
    log.shutDown();
}

} // namespace
