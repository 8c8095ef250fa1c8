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

#include <functional>
#include <memory>
#include <sstream>
#include <string>

using bw::DisplayManager;
using bw::LogManager;

namespace {

// Not black, so that a box a pixel too small or too large shows.
const sf::Color BACKGROUND(40, 90, 140, 255);
const sf::Color BLACK(0, 0, 0, 255);

/// Pixels where two frames differ, and the first of them, for the failure message.
std::string difference(const sf::Image& a, const sf::Image& b) {
    int pixels = 0;
    std::ostringstream first;
    for (unsigned y = 0; y < a.getSize().y; ++y)
        for (unsigned x = 0; x < a.getSize().x; ++x)
            if (a.getPixel({x, y}) != b.getPixel({x, y}) && pixels++ == 0) first << ", first at " << x << "," << y;
    return pixels == 0 ? "" : std::to_string(pixels) + " pixels differ" + first.str();
}

class BatchedDrawingWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        LogManager::getInstance().shutDown();
        LogManager::getInstance().startUp();
        LogManager::getInstance().setLogLevel(-1);
        DisplayManager::getInstance().startUp();
        screens_ready = screens.load();
    }
    static void TearDownTestSuite() {
        DisplayManager::getInstance().setCellRenderer(nullptr);
        DisplayManager::getInstance().shutDown();
        LogManager::getInstance().shutDown();
        work_dir.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(screens_ready) << screens.why();
        if (display.getWindow() == nullptr) {
            ASSERT_EQ(display.startUp(), 0);
        }
        ASSERT_NE(display.getWindow(), nullptr);
    }
    void TearDown() override { display.setCellRenderer(nullptr); }

    /// The frame that draw leaves, drawn with the renderer given (null: the display manager's
    /// own), on a coloured background or on the black of a fresh frame.
    sf::Image render(const std::function<void()>& draw, bw::CellRenderer* renderer, bool on_background) {
        display.setCellRenderer(renderer);
        display.swapBuffers();
        if (on_background) display.getWindow()->clear(BACKGROUND);
        draw();
        const sf::Image frame = RecordedScreen::framePixels();
        display.swapBuffers();
        display.setCellRenderer(nullptr);
        return frame;
    }

    /// Draws the screen both ways, on a background and on a fresh frame, and expects the same
    /// pixels, with at least this many pixels of ink (not an empty frame drawn twice).
    void expectSamePixels(const std::function<void()>& draw, int ink) {
        ReferenceCellRenderer reference;
        for (const bool background : {true, false}) {
            const sf::Image batched = render(draw, nullptr, background);
            EXPECT_EQ(difference(batched, render(draw, &reference, background)), "")
                << (background ? "on the background" : "on black");
            const int plain = RecordedScreen::countPixels(batched, background ? BACKGROUND : BLACK);
            EXPECT_GT(static_cast<int>(batched.getSize().x * batched.getSize().y) - plain, ink);
        }
    }

    static std::unique_ptr<TempWorkDir> work_dir;
    static ReferenceScreens screens;
    static bool screens_ready;
    DisplayManager& display = DisplayManager::getInstance();
};

std::unique_ptr<TempWorkDir> BatchedDrawingWindowTest::work_dir;
ReferenceScreens BatchedDrawingWindowTest::screens;
bool BatchedDrawingWindowTest::screens_ready = false;

TEST_F(BatchedDrawingWindowTest, ScreensMatchTheReference) {
    expectSamePixels(ReferenceScreens::drawFullScreen, 200000);
    expectSamePixels(ReferenceScreens::drawTitleScreen, 30000);
    ReferenceScreens::preparePlayWeb();
    expectSamePixels(ReferenceScreens::drawPlayScreen, 30000);
    // Something drawn straight into the window between cells lands between them, as it would
    // if every cell went into the window at once.
    expectSamePixels(
        [this] {
            ReferenceScreens::drawPlayScreen();
            sf::RectangleShape veil({400.0f, 300.0f});
            veil.setPosition({200.5f, 150.25f});
            veil.setFillColor(sf::Color(255, 255, 0, 100));
            display.getWindow()->draw(veil);
            ReferenceScreens::drawTitleScreen();
        },
        30000);
}

TEST_F(BatchedDrawingWindowTest, CellsDrawnBeforeShutDownNeverReachTheNextWindow) {
    ReferenceScreens::drawFullScreen(); // collected, not yet in the window
    display.shutDown();
    ASSERT_EQ(display.startUp(), 0);
    display.getWindow()->clear(BLACK);
    // The next cell flushes whatever the renderer still holds: a black box on black, nothing else.
    ASSERT_EQ(display.drawCh(bw::Vector(0, 0), ' ', bw::COLOR_WHITE), 0);
    EXPECT_EQ(RecordedScreen::countPixels(RecordedScreen::framePixels(), BLACK), 1024 * 768);
}

} // namespace
