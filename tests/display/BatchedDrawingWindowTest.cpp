// The display manager's batched drawing against the plain drawing of every box and character in
// turn: the same screens drawn both ways must leave the same pixels. Also what happens to the
// collected cells when there is no window.
#include "DisplayManager.h"

#include "LogManager.h"

#include "LogReader.h"
#include "ReferenceCellRenderer.h"
#include "ReferenceScreens.h"
#include "TempWorkDir.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

using bw::DisplayManager;
using bw::LogManager;
using ::testing::ElementsAre;

namespace {

const std::string DRAW_WARNING = "WARNING: attempted to draw character before window initialized";
// Not black, so that a box a pixel too small or too large shows.
const sf::Color BACKGROUND(40, 90, 140, 255);
const sf::Color BLACK(0, 0, 0, 255);

/// Where two captures of the window differ.
struct Difference {
    int pixels = 0;
    int largest_step = 0; // the largest difference of one colour channel
    std::string first;    // the first differing pixel, for the failure message

    static Difference between(const sf::Image& a, const sf::Image& b) {
        Difference d;
        for (unsigned y = 0; y < a.getSize().y; ++y) {
            for (unsigned x = 0; x < a.getSize().x; ++x) {
                const sf::Color p = a.getPixel({x, y});
                const sf::Color q = b.getPixel({x, y});
                if (p == q) continue;
                if (d.pixels++ == 0) {
                    std::ostringstream at;
                    at << "(" << x << ", " << y << "): " << int(p.r) << "," << int(p.g) << "," << int(p.b)
                       << " against " << int(q.r) << "," << int(q.g) << "," << int(q.b);
                    d.first = at.str();
                }
                for (const int step : {p.r - q.r, p.g - q.g, p.b - q.b, p.a - q.a})
                    d.largest_step = std::max(d.largest_step, std::abs(step));
            }
        }
        return d;
    }
};

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
        const WindowCapture frame(*display.getWindow());
        display.swapBuffers();
        display.setCellRenderer(nullptr);
        return frame.image();
    }

    /// Draws the screen both ways, on a background and on a fresh frame, and expects the same
    /// pixels; returns the batched frame on the background.
    sf::Image expectSamePixels(const std::function<void()>& draw) {
        ReferenceCellRenderer reference;
        sf::Image on_background;
        for (const bool background : {true, false}) {
            const sf::Image expected = render(draw, &reference, background);
            const sf::Image batched = render(draw, nullptr, background);
            const Difference difference = Difference::between(batched, expected);
            EXPECT_EQ(difference.pixels, 0) << (background ? "on the background" : "on black") << ": largest step "
                                            << difference.largest_step << ", first at " << difference.first;
            if (background) on_background = batched;
        }
        return on_background;
    }

    /// Pixels that are neither the background nor black: the ink of the characters.
    static int inkPixels(const sf::Image& image) {
        int count = 0;
        for (unsigned y = 0; y < image.getSize().y; ++y)
            for (unsigned x = 0; x < image.getSize().x; ++x) {
                const sf::Color c = image.getPixel({x, y});
                if (c != BACKGROUND && c != BLACK) ++count;
            }
        return count;
    }

    static std::unique_ptr<TempWorkDir> work_dir;
    static ReferenceScreens screens;
    static bool screens_ready;
    DisplayManager& display = DisplayManager::getInstance();
};

std::unique_ptr<TempWorkDir> BatchedDrawingWindowTest::work_dir;
ReferenceScreens BatchedDrawingWindowTest::screens;
bool BatchedDrawingWindowTest::screens_ready = false;

TEST_F(BatchedDrawingWindowTest, FullScreenOfMixedColoursMatchesTheReference) {
    const sf::Image frame = expectSamePixels(ReferenceScreens::drawFullScreen);
    // Not an empty frame drawn twice: every cell but a few blanks has a coloured character.
    EXPECT_GT(inkPixels(frame), 200000);
}

TEST_F(BatchedDrawingWindowTest, TitleScreenMatchesTheReference) {
    const sf::Image frame = expectSamePixels(ReferenceScreens::drawTitleScreen);
    EXPECT_GT(inkPixels(frame), 30000);
}

TEST_F(BatchedDrawingWindowTest, PlayScreenWithOverlapsAndTransparencyMatchesTheReference) {
    ReferenceScreens::preparePlayWeb();
    const sf::Image frame = expectSamePixels(ReferenceScreens::drawPlayScreen);
    EXPECT_GT(inkPixels(frame), 30000);

    // Something drawn straight into the window between cells lands between them, as it would
    // if every cell went into the window at once.
    expectSamePixels([this] {
        ReferenceScreens::drawPlayScreen();
        sf::RectangleShape veil({400.0f, 300.0f});
        veil.setPosition({200.5f, 150.25f});
        veil.setFillColor(sf::Color(255, 255, 0, 100));
        display.getWindow()->draw(veil);
        ReferenceScreens::drawTitleScreen();
    });
}

TEST_F(BatchedDrawingWindowTest, CellsDrawnBeforeShutDownNeverReachTheNextWindow) {
    LogManager& log = LogManager::getInstance();
    ReferenceScreens::drawFullScreen(); // collected, not yet in the window
    display.shutDown();

    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    const char transparent = '#';
    EXPECT_EQ(display.drawCh(bw::Vector(1, 1), 'x', bw::COLOR_RED), -1);
    EXPECT_EQ(display.drawString(bw::Vector(5, 5), "#ab", bw::COLOR_GREEN, bw::LEFT_JUSTIFIED, &transparent), -1);
    EXPECT_EQ(display.swapBuffers(), -1);
    EXPECT_THAT(readLogLines(), ElementsAre("Started up LogManager", DRAW_WARNING, "draw string has been called",
                                            "#ab", "#ab", DRAW_WARNING));

    ASSERT_EQ(display.startUp(), 0);
    const WindowCapture frame(*display.getWindow());
    EXPECT_EQ(frame.countPixels(BLACK), frame.width() * frame.height());
}

} // namespace
