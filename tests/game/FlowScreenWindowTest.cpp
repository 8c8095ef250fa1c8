// What the game-flow objects put on the screen, read back from the real window as a grid of
// characters and colours: the title and game-over screens, the two counters and a pop-up.
#include "GameStart.h"
#include "PopUp.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include "ScreenGrid.h"
#include "TempWorkDir.h"
#include "ResourceTestSupport.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using bw::Color;
using bw::Vector;

namespace {

const Color CONTROLS_BLUE(46, 134, 171, 1.0f);
const Color PROMPT_RED(242, 66, 54, 1.0f);
const Color SCORE_PINK(227, 99, 151, 1.0f);

class FlowScreenWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bw::LogManager::getInstance().startUp();
        bw::DisplayManager::getInstance().startUp();
        bw::DisplayManager::getInstance().openFont(std::string(TARNWICK_RUN_DIR) + "/" + GAME_FONT_FILE);
        for (const char* label : {"title-text", "game-over-text"}) loadGameSprite(label);
        loadWebPlaySprites();
    }
    static void TearDownTestSuite() { bw::DisplayManager::getInstance().shutDown(); }

    void SetUp() override {
        ASSERT_NE(bw::DisplayManager::getInstance().getWindow(), nullptr) << "no window: no X server?";
        bw::WorldManager::getInstance().shutDown();
        bw::WorldManager::getInstance().startUp();
        bw::DisplayManager::getInstance().swapBuffers(); // start on a black frame
    }
    void TearDown() override { bw::WorldManager::getInstance().shutDown(); }

    /// Draws object and reads the frame back.
    static ScreenGrid shown(bw::Object& object) {
        object.draw();
        return ScreenGrid::capture();
    }
    /// Expects text at (column, row), every non-blank character in color, blanks either side.
    void expectText(const ScreenGrid& grid, int column, int row, const std::string& text, Color color) {
        EXPECT_EQ(grid.text(column - 1, row, static_cast<int>(text.size()) + 2), " " + text + " ")
            << "row " << row << "\n" << grid.toString();
        for (int i = 0; i < static_cast<int>(text.size()); ++i)
            EXPECT_TRUE(text[i] == ' ' || grid.colorAt(column + i, row) == color) << "column " << column + i;
    }
    /// Cells showing ink on rows row0 to row1.
    static int inkCells(const ScreenGrid& grid, int row0, int row1) {
        int cells = 0;
        for (int row = row0; row <= row1; ++row)
            for (char ch : grid.row(row))
                cells += ch != ' ';
        return cells;
    }

    TempWorkDir dir;
};

TEST_F(FlowScreenWindowTest, TitleShowsTheSpriteAboveControlsPromptAndInstructions) {
    GameStart& start = GameStart::getInstance();
    const ScreenGrid grid = shown(start);
    expectText(grid, 5, 17, "WASD - move.", CONTROLS_BLUE);
    expectText(grid, 64, 17, "ESC - exit.", CONTROLS_BLUE);
    expectText(grid, 33, 17, "< W to Start >", PROMPT_RED);
    expectText(grid, 25, 19, "Eat flies to charge silk shot.", bw::COLOR_WHITE);
    expectText(grid, 20, 20, "Bounce off screen edge to fire silk shot.", bw::COLOR_WHITE);
    expectText(grid, 15, 21, "Silk shot repairs broken strings and kills enemies.", bw::COLOR_WHITE);
    expectText(grid, 29, 22, "Don't fall off the web!", bw::COLOR_WHITE);
    // The title sprite, centred on (42, 8), fills the upper rows; nothing else is drawn.
    EXPECT_GT(inkCells(grid, 3, 12), 100);
    EXPECT_EQ(inkCells(grid, 14, 16) + inkCells(grid, 18, 18) + inkCells(grid, 23, 23), 0);
    // The prompt's words show for 18 steps and blank for 18, its brackets kept in place.
    for (const auto& [step, prompt] : {std::pair{17, "< W to Start >"}, {18, "<            >"},
                                       {35, "<            >"}, {36, "< W to Start >"}}) {
        while (start.getStepCount() < step)
            stepWorld(0);
        expectText(shown(start), 33, 17, prompt, PROMPT_RED);
    }
}

TEST_F(FlowScreenWindowTest, DuringPlayNothingAndOnGameOverItsBannerAndASteadyPrompt) {
    GameStart& start = GameStart::getInstance();
    sendKey(&start, bw::KEY_W);
    EXPECT_EQ(inkCells(shown(start), 0, 23), 0);
    start.gameOver();
    const ScreenGrid grid = shown(start);
    expectText(grid, 29, 17, "< W to return to menu >", PROMPT_RED);
    // The game-over sprite's single frame, 6 rows around row 8.
    EXPECT_GT(inkCells(grid, 5, 10), 50);
    EXPECT_EQ(inkCells(grid, 0, 3) + inkCells(grid, 12, 16) + inkCells(grid, 18, 23), 0);
    for (int i = 0; i < 18; ++i)
        stepWorld(i);
    expectText(shown(start), 29, 17, "< W to return to menu >", PROMPT_RED);
}

TEST_F(FlowScreenWindowTest, CountersShowScoreRightJustifiedAndTheFrameOfTheChargeAndPopUpsAreCentred) {
    ScoreCounter& score = ScoreCounter::getInstance();
    expectText(shown(score), 70, 22, "SCORE: 0", SCORE_PINK);
    score.addPoints(1250, Vector(10, 10), bw::COLOR_WHITE, false);
    expectText(shown(score), 67, 22, "SCORE: 1250", SCORE_PINK);

    // The eight-cell sprite starts three cells from the left, on rows 20 and 21.
    SilkCounter& silk = SilkCounter::getInstance();
    ScreenGrid grid = shown(silk);
    EXPECT_EQ(grid.text(2, 20, 10), " silk     ");
    EXPECT_EQ(grid.text(2, 21, 10), " [......] ");
    silk.addCharge();
    silk.addCharge();
    // Drawn again and again, the frame follows the charge alone.
    silk.draw();
    silk.draw();
    EXPECT_EQ(shown(silk).text(3, 21, 8), "[##....]");

    // Pop-ups are centred on their position.
    PopUp popup(Vector(40, 12), "50", SCORE_PINK);
    expectText(shown(popup), 39, 12, "50", SCORE_PINK);
    PopUp wide(Vector(40, 5), "+250", PROMPT_RED);
    expectText(shown(wide), 38, 5, "+250", PROMPT_RED);
}

} // namespace
