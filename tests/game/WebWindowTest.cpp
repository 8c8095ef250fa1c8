// The web drawn into a real window and read back: where the characters of an intersection land
// and in which colours, the blinking of a string, and a hidden or bare web that draws nothing.
#include "Web.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include "WebPlayTestSupport.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <cmath>
#include <filesystem>
#include <memory>

using bw::Vector;

// The frame is filled with this first, so that the black box under every character stands out.
const sf::Color FILL(0, 0, 200, 255), WHITE(255, 255, 255, 255), GREY(155, 155, 155, 255);
const sf::Color RED(242, 67, 54, 255);
// Cell positions of the characters of intersection (1, 1) with the default window: the
// junction, then the strings up, right, down and left (0.3 of a spacing away).
const Vector JUNCTION(10.928572f, 4.3f), UP_CELL(10.928572f, 2.86f), RIGHT_CELL(14.357143f, 4.3f),
    DOWN_CELL(10.928572f, 5.74f), LEFT_CELL(7.5f, 4.3f);

class WebWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_dir = std::make_unique<TempWorkDir>();
        std::error_code copy_error;
        std::filesystem::copy_file(TARNWICK_SOURCE_DIR "/third_party/fonts/DejaVuSansMono.ttf",
                                   bw::FONT_FILE_DEFAULT, copy_error);
        restartLogForResourceTest();
        bw::DisplayManager::getInstance().startUp();
    }
    static void TearDownTestSuite() {
        bw::DisplayManager::getInstance().shutDown();
        bw::LogManager::getInstance().shutDown();
        work_dir.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(bw::FONT_FILE_DEFAULT)) << "needs the DejaVu Sans Mono font";
        ASSERT_NE(bw::DisplayManager::getInstance().getWindow(), nullptr);
        bw::WorldManager::getInstance().startUp();
        severAllStrings(); // but those of intersection (1, 1)
        Web::getInstance().addOnIntersection(Vector(1, 1), UP | RIGHT | DOWN | LEFT);
    }
    void TearDown() override { bw::WorldManager::getInstance().shutDown(); }

    static WindowCapture drawWeb() {
        bw::DisplayManager::getInstance().getWindow()->clear(FILL);
        Web::getInstance().draw();
        return WindowCapture(*bw::DisplayManager::getInstance().getWindow());
    }
    /// Pixels of a colour in the black box under a character drawn at a cell position: one cell
    /// wide, a pixel less than a cell high, a tenth of a cell right and a fifth down (the pixels
    /// whose centres lie inside it).
    static int inBox(const WindowCapture& frame, Vector cell, sf::Color color) {
        const auto first = [](float edge) { return static_cast<int>(std::ceil(edge - 0.5f)); };
        return frame.countPixels(first(cell.getX() * 12.8f + 1.28f), first(cell.getY() * 32 + 6.4f),
                                 first(cell.getX() * 12.8f + 14.08f) - 1, first(cell.getY() * 32 + 37.4f) - 1,
                                 color);
    }

    inline static std::unique_ptr<TempWorkDir> work_dir;
};

TEST_F(WebWindowTest, IntersectionDrawsItsCharactersAroundItAndABlinkingStringRedForSixFramesGreyForSix) {
    Web::getInstance().flashOnIntersection(true, Vector(1, 1), RIGHT);
    // Frames are counted for the whole program: 1–5 red, 6–11 grey, 12–17 red …; follow the
    // count through two full periods from wherever it stands.
    const int last = Web::getBlinkCounter() + 24;
    while (Web::getBlinkCounter() < last) {
        const WindowCapture frame = drawWeb();
        const int f = Web::getBlinkCounter();
        SCOPED_TRACE("frame " + std::to_string(f));
        EXPECT_EQ(inBox(frame, RIGHT_CELL, RED) > 0, f % 12 < 6);
        EXPECT_EQ(inBox(frame, RIGHT_CELL, GREY) > 0, f % 12 >= 6);
        EXPECT_GT(inBox(frame, JUNCTION, WHITE), 0);
        for (const Vector cell : {UP_CELL, DOWN_CELL, LEFT_CELL}) {
            EXPECT_GT(inBox(frame, cell, GREY), 0) << cell.toString();
            EXPECT_EQ(inBox(frame, cell, RED) + inBox(frame, cell, WHITE), 0) << cell.toString();
        }
        // Nothing else is drawn: five boxes of 13 × 31 pixels and a little glyph overhang.
        EXPECT_LT(frame.width() * frame.height() - frame.countPixels(FILL), 5 * 13 * 31 + 200);
    }
}

TEST_F(WebWindowTest, BareIntersectionsAndAHiddenWebDrawNothing) {
    Web::getInstance().removeOnIntersection(Vector(1, 1), UP | RIGHT | DOWN | LEFT);
    WindowCapture frame = drawWeb();
    EXPECT_EQ(frame.countPixels(FILL), frame.width() * frame.height()) << "no '+' without a string";
    Web::getInstance().reset();
    Web::getInstance().hide();
    const int before = Web::getBlinkCounter();
    frame = drawWeb();
    EXPECT_EQ(Web::getBlinkCounter(), before);
    EXPECT_EQ(frame.countPixels(FILL), frame.width() * frame.height());
}
