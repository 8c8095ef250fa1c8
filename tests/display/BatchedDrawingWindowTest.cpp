// The display manager's batched drawing against the plain drawing of every box and character in
// turn: the same screens drawn both ways must leave the same pixels. Also what happens to the
// collected cells when the window closes.
#include "DisplayManager.h"

#include "LogManager.h"

#include "RecordedScreen.h"
#include "ReferenceCellRenderer.h"
#include "ReferenceScreens.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

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

TEST(BatchedDrawingWindowTest, ScreensMatchTheReferenceAndCellsDrawnBeforeShutDownNeverReachTheNextWindow) {
    const TempWorkDir dir;
    bw::LogManager::getInstance().setLogLevel(-1);
    bw::LogManager::getInstance().startUp();
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
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
    display.shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
