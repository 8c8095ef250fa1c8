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

namespace {

// Not black, so that a box a pixel too small or too large shows.
const sf::Color BACKGROUND(40, 90, 140, 255);
const sf::Color BLACK(0, 0, 0, 255);

/// The frame that draw leaves, drawn with the renderer given (null: the display manager's own),
/// on a coloured background or on the black of a fresh frame.
sf::Image render(const std::function<void()>& draw, bw::CellRenderer* renderer, bool on_background) {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    display.setCellRenderer(renderer);
    display.swapBuffers();
    if (on_background) display.getWindow()->clear(BACKGROUND);
    draw();
    const sf::Image frame = RecordedScreen::framePixels();
    display.swapBuffers();
    display.setCellRenderer(nullptr);
    return frame;
}

/// Draws the screen both ways, on a background and on a fresh frame, and expects the same pixels,
/// with more than ink pixels not left as they were (not an empty frame drawn twice).
void expectSamePixels(const std::string& screen, const std::function<void()>& draw, int ink) {
    ReferenceCellRenderer reference;
    for (const bool background : {true, false}) {
        const sf::Image batched = render(draw, nullptr, background);
        const sf::Image expected = render(draw, &reference, background);
        const std::size_t bytes = std::size_t{4} * batched.getSize().x * batched.getSize().y;
        EXPECT_TRUE(batched.getSize() == expected.getSize() &&
                    std::memcmp(batched.getPixelsPtr(), expected.getPixelsPtr(), bytes) == 0)
            << screen << (background ? " on the background" : " on black");
        const int plain = RecordedScreen::countPixels(batched, background ? BACKGROUND : BLACK);
        EXPECT_GT(static_cast<int>(batched.getSize().x * batched.getSize().y) - plain, ink) << screen;
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
    const auto veiled = [&] {
        ReferenceScreens::drawPlayScreen();
        display.getWindow()->draw(veil);
        ReferenceScreens::drawTitleScreen();
    };
    expectSamePixels("veiled play screen", veiled, 30000);

    ReferenceScreens::drawFullScreen(); // collected, not yet in the window
    display.shutDown();
    ASSERT_EQ(display.startUp(), 0);
    display.getWindow()->clear(BLACK);
    // The next cell flushes whatever the renderer still holds: a black box on black, nothing else.
    ASSERT_EQ(display.drawCh(bw::Vector(0, 0), ' ', bw::COLOR_WHITE), 0);
    EXPECT_EQ(RecordedScreen::countPixels(RecordedScreen::framePixels(), BLACK), 1024 * 768);
    display.shutDown();
    bw::LogManager::getInstance().shutDown();
}

} // namespace
