// What the game-flow objects put on the screen, read back from the real window as a grid of
// characters and colours: the title screen and its blinking prompt, the game-over screen, the
// score and silk counters and a pop-up.
#include "GameStart.h"
#include "PopUp.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include "ScreenGrid.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using bw::Color;
using bw::Vector;

namespace {

const Color CONTROLS_BLUE(46, 134, 171, 1.0f);
const Color PROMPT_RED(242, 66, 54, 1.0f);
const Color WHITE(255, 255, 255, 1.0f);
const Color SCORE_PINK(227, 99, 151, 1.0f);
const Color BLACK(0, 0, 0, 1.0f);

class FlowScreenWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bw::LogManager::getInstance().startUp();
        bw::DisplayManager::getInstance().startUp();
        bw::DisplayManager::getInstance().openFont(std::string(TARNWICK_RUN_DIR) +
                                                   "/Fonts/DizareruRereru.ttf");
        bw::ResourceManager& resources = bw::ResourceManager::getInstance();
        const std::string sprites = std::string(TARNWICK_SOURCE_DIR) + "/data/Sprites/";
        resources.loadSprite(sprites + "title-text.txt", "title-text");
        resources.loadSprite(sprites + "game-over-text.txt", "game-over-text");
        loadWebPlaySprites();
    }
    static void TearDownTestSuite() { bw::DisplayManager::getInstance().shutDown(); }

    void SetUp() override {
        ASSERT_NE(bw::DisplayManager::getInstance().getWindow(), nullptr)
            << "no window: run under an X server";
        world().shutDown();
        world().startUp();
        // Start every test on a black frame.
        bw::DisplayManager::getInstance().swapBuffers();
    }
    void TearDown() override { world().shutDown(); }

    static bw::WorldManager& world() { return bw::WorldManager::getInstance(); }
    static void steps(int count) {
        const bw::EventStep step(0);
        for (int i = 0; i < count; ++i)
            GameStart::getInstance().eventHandler(&step);
    }
    static void pressW() { sendKey(&GameStart::getInstance(), bw::KEY_W); }

    /// Expects text at (column, row) in color, every non-blank character in that colour.
    static void expectText(const ScreenGrid& grid, int column, int row, const std::string& text,
                           Color color) {
        EXPECT_EQ(grid.text(column, row, static_cast<int>(text.size())), text) << "row " << row << "\n"
                                                                               << grid.toString();
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') continue;
            EXPECT_EQ(grid.colorAt(column + static_cast<int>(i), row).toHexString(), color.toHexString())
                << "'" << text[i] << "' at column " << column + static_cast<int>(i) << ", row " << row;
        }
        // Nothing right beside the text.
        EXPECT_EQ(grid.charAt(column - 1, row), ' ');
        EXPECT_EQ(grid.charAt(column + static_cast<int>(text.size()), row), ' ');
    }

    static int inkCells(const ScreenGrid& grid, int row0, int row1) {
        int cells = 0;
        for (int row = row0; row <= row1; ++row)
            for (int column = 0; column < grid.columns(); ++column)
                if (grid.charAt(column, row) != ' ') ++cells;
        return cells;
    }

    TempWorkDir dir;
};

TEST_F(FlowScreenWindowTest, TitleScreenShowsControlsPromptAndInstructions) {
    GameStart::getInstance().draw();
    const ScreenGrid grid = ScreenGrid::capture();
    expectText(grid, 5, 17, "WASD - move.", CONTROLS_BLUE);
    expectText(grid, 64, 17, "ESC - exit.", CONTROLS_BLUE);
    expectText(grid, 33, 17, "< W to Start >", PROMPT_RED);
    expectText(grid, 25, 19, "Eat flies to charge silk shot.", WHITE);
    expectText(grid, 20, 20, "Bounce off screen edge to fire silk shot.", WHITE);
    expectText(grid, 15, 21, "Silk shot repairs broken strings and kills enemies.", WHITE);
    expectText(grid, 29, 22, "Don't fall off the web!", WHITE);
    // The title sprite, centred on (42, 8), fills the upper rows; nothing else is drawn.
    EXPECT_GT(inkCells(grid, 3, 12), 100);
    EXPECT_EQ(inkCells(grid, 14, 16), 0);
    EXPECT_EQ(inkCells(grid, 18, 18), 0);
    EXPECT_EQ(inkCells(grid, 23, 23), 0);
}

TEST_F(FlowScreenWindowTest, PromptWordsBlankAfterEighteenStepsWithTheBracketsKept) {
    GameStart::getInstance();
    steps(17);
    GameStart::getInstance().draw();
    expectText(ScreenGrid::capture(), 33, 17, "< W to Start >", PROMPT_RED);
    steps(1);
    GameStart::getInstance().draw();
    expectText(ScreenGrid::capture(), 33, 17, "<            >", PROMPT_RED);
    steps(18);
    GameStart::getInstance().draw();
    expectText(ScreenGrid::capture(), 33, 17, "< W to Start >", PROMPT_RED);
}

TEST_F(FlowScreenWindowTest, DuringPlayTheScreenObjectDrawsNothing) {
    pressW();
    GameStart::getInstance().draw();
    const ScreenGrid grid = ScreenGrid::capture();
    EXPECT_EQ(inkCells(grid, 0, 23), 0) << grid.toString();
}

TEST_F(FlowScreenWindowTest, GameOverScreenShowsItsTextAndPrompt) {
    pressW();
    GameStart::getInstance().gameOver();
    GameStart::getInstance().draw();
    const ScreenGrid grid = ScreenGrid::capture();
    expectText(grid, 29, 17, "< W to return to menu >", PROMPT_RED);
    // The game-over sprite's single frame, 6 rows around row 8, in red.
    EXPECT_GT(inkCells(grid, 5, 10), 50);
    EXPECT_EQ(inkCells(grid, 0, 3), 0);
    EXPECT_EQ(inkCells(grid, 12, 16), 0);
    EXPECT_EQ(grid.countCells(WHITE), 0);
}

TEST_F(FlowScreenWindowTest, ScoreIsRightJustifiedTwoCellsFromTheBottomRightCorner) {
    ScoreCounter& counter = ScoreCounter::getInstance();
    counter.reset();
    counter.draw();
    expectText(ScreenGrid::capture(), 70, 22, "SCORE: 0", SCORE_PINK);
    counter.addPoints(1250, Vector(10, 10), WHITE, false);
    counter.draw();
    const ScreenGrid grid = ScreenGrid::capture();
    expectText(grid, 67, 22, "SCORE: 1250", SCORE_PINK);
    EXPECT_EQ(grid.charAt(78, 22), ' ');
}

TEST_F(FlowScreenWindowTest, HiddenCountersLeaveTheScreenBlack) {
    ScoreCounter::getInstance().addPoints(300, Vector(10, 10), WHITE, false);
    SilkCounter::getInstance().addCharge();
    ScoreCounter::getInstance().hide();
    SilkCounter::getInstance().hide();
    EXPECT_EQ(ScoreCounter::getInstance().draw(), 0);
    EXPECT_EQ(SilkCounter::getInstance().draw(), 0);
    const ScreenGrid grid = ScreenGrid::capture();
    EXPECT_EQ(inkCells(grid, 0, 23), 0) << grid.toString();
}

TEST_F(FlowScreenWindowTest, SilkCounterShowsTheFrameOfItsCharge) {
    SilkCounter& counter = SilkCounter::getInstance();
    counter.reset();
    counter.draw();
    ScreenGrid grid = ScreenGrid::capture();
    // The eight-cell sprite starts three cells from the left, on rows 20 and 21.
    EXPECT_EQ(grid.text(3, 20, 8), "silk    ");
    EXPECT_EQ(grid.text(3, 21, 8), "[......]");
    EXPECT_EQ(grid.charAt(2, 21), ' ');
    counter.addCharge();
    counter.addCharge();
    counter.draw();
    grid = ScreenGrid::capture();
    EXPECT_EQ(grid.text(3, 21, 8), "[##....]");
    // Drawing again does not animate: the frame follows the charge alone.
    counter.draw();
    counter.draw();
    grid = ScreenGrid::capture();
    EXPECT_EQ(grid.text(3, 21, 8), "[##....]");
}

TEST_F(FlowScreenWindowTest, PopUpIsCentredOnItsPosition) {
    PopUp popup(Vector(40, 12), "50", SCORE_PINK);
    popup.draw();
    ScreenGrid grid = ScreenGrid::capture();
    expectText(grid, 39, 12, "50", SCORE_PINK);
    PopUp wide(Vector(40, 5), "+250", PROMPT_RED);
    wide.draw();
    grid = ScreenGrid::capture();
    expectText(grid, 38, 5, "+250", PROMPT_RED);
}

} // namespace
