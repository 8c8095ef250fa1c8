// What the game draws, character by character: the title and game-over screens, the two
// counters, a pop-up and the web. The display needs its window to draw at all, but the
// characters are recorded instead of read back from pixels.
#include "GameStart.h"
#include "PopUp.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "DisplayManager.h"

#include "RecordedScreen.h"
#include "WebPlayTestSupport.h"

#include <cmath>
#include <cstdio>

class FlowScreenWindowTest : public WebPlayTest {
  protected:
    static void SetUpTestSuite() {
        bw::DisplayManager::getInstance().startUp();
        for (const char* label : {"title-text", "game-over-text"})
            loadGameSprite(label);
        loadWebPlaySprites();
    }
    static void TearDownTestSuite() { bw::DisplayManager::getInstance().shutDown(); }
    /// What object draws on rows top to bottom (fractions allowed), a line for each run of
    /// characters of one colour side by side on a row: "row column rrggbb text".
    std::string drawn(bw::Object& object, float top = -1, float bottom = 25) {
        screen.clear();
        object.draw();
        std::string lines;
        const RecordedScreen::Draw* last = nullptr;
        for (const RecordedScreen::Draw& draw : screen.draws()) {
            if (draw.y < top || draw.y >= bottom) continue;
            char at[40];
            std::snprintf(at, sizeof at, "\n%g %g %06x ", draw.y, draw.x, draw.color.toInteger() >> 8);
            const bool run = last && draw.y == last->y && std::abs(draw.x - last->x - 1) < 0.01f &&
                             draw.color == last->color;
            lines += (run ? "" : at) + std::string(1, draw.ch);
            last = &draw;
        }
        return lines.substr(lines.empty() ? 0 : 1);
    }

    RecordedScreen screen;
};

TEST_F(FlowScreenWindowTest, TitleAndGameOverScreensWithTheirSpritesAndPrompts) {
    GameStart& start = GameStart::getInstance();
    EXPECT_EQ(drawn(start, 13), "17 5 2e86ab WASD - move.\n"
                                "17 64 2e86ab ESC - exit.\n"
                                "17 33 f24236 < W to Start >\n"
                                "19 25 ffffff Eat flies to charge silk shot.\n"
                                "20 20 ffffff Bounce off screen edge to fire silk shot.\n"
                                "21 15 ffffff Silk shot repairs broken strings and kills enemies.\n"
                                "22 29 ffffff Don't fall off the web!");
    // The title sprite, centred on (42, 8), fills rows 3 to 12.
    EXPECT_GT(drawn(start, 3, 13).size(), 300u);
    EXPECT_EQ(drawn(start, -1, 3), "");
    // The prompt's words show for 18 steps and blank for 18, its brackets kept in place.
    for (const auto& [step, words] : {std::pair{17, true}, {18, false}, {35, false}, {36, true}}) {
        while (start.getStepCount() < step)
            stepWorld(0);
        const std::string prompt = words ? "< W to Start >" : "<            >";
        EXPECT_TRUE(drawn(start, 17, 18).ends_with("\n17 33 f24236 " + prompt)) << step;
    }
    // During play nothing; on game over its banner, 6 rows around row 8, and a steady prompt.
    sendKey(&start, bw::KEY_W);
    EXPECT_EQ(drawn(start), "");
    start.gameOver();
    for (int i = 0; i < 18; stepWorld(i++)) {
        EXPECT_EQ(drawn(start, 11), "17 29 f24236 < W to return to menu >");
        EXPECT_GT(drawn(start, 5, 11).size(), 150u);
        EXPECT_EQ(drawn(start, -1, 5), "");
    }
}

TEST_F(FlowScreenWindowTest, CountersShowScoreRightJustifiedAndTheFrameOfTheChargeAndPopUpsAreCentred) {
    ScoreCounter& score = ScoreCounter::getInstance();
    EXPECT_EQ(drawn(score), "22 70 e36397 SCORE: 0");
    score.addPoints(1250, bw::Vector(10, 10), bw::COLOR_WHITE, false);
    EXPECT_EQ(drawn(score), "22 67 e36397 SCORE: 1250");
    // The eight-cell sprite starts three cells from the left, on rows 20 and 21; drawn again and
    // again, its frame follows the charge alone.
    SilkCounter& silk = SilkCounter::getInstance();
    EXPECT_EQ(drawn(silk), "20 3 8a8a8a silk\n21 3 8a8a8a [......]");
    silk.addCharge();
    silk.addCharge();
    silk.draw();
    silk.draw();
    EXPECT_EQ(drawn(silk), "20 3 d98baa silk\n21 3 d98baa [##....]");
    // Pop-ups are centred on their position.
    PopUp popup(bw::Vector(40, 12), "50", bw::Color(227, 99, 151, 1.0f));
    EXPECT_EQ(drawn(popup), "12 39 e36397 50");
    PopUp wide(bw::Vector(40, 5), "+250", bw::COLOR_WHITE);
    EXPECT_EQ(drawn(wide), "5 38 ffffff +250");
}

TEST_F(FlowScreenWindowTest, WebDrawsAroundAnIntersectionAndBlinksAStringRedSixFramesGreySix) {
    severStrings(); // but those of intersection (1, 1)
    Web& web = Web::getInstance();
    web.addOnIntersection(bw::Vector(1, 1), UP | RIGHT | DOWN | LEFT);
    web.flashOnIntersection(true, bw::Vector(1, 1), RIGHT);
    // Frames are counted for the whole program: 1–5 red, 6–11 grey, 12–17 red …; follow the
    // count through two full periods from wherever it stands. The strings stand 0.3 of a
    // spacing (80 / 7 columns, 24 / 5 rows) away from the junction, each character centred.
    for (const int last = Web::getBlinkCounter() + 24; Web::getBlinkCounter() < last;) {
        const std::string frame = drawn(web);
        const int f = Web::getBlinkCounter();
        EXPECT_EQ(frame, std::string("4.3 10.9286 ffffff +\n2.86 10.9286 9b9b9b |\n4.3 14.3571 ") +
                             (f % 12 < 6 ? "f24336" : "9b9b9b") +
                             " =\n5.74 10.9286 9b9b9b |\n4.3 7.5 9b9b9b =")
            << "frame " << f;
    }
    // A bare intersection and a hidden web draw nothing, and a hidden web counts no frame.
    web.removeOnIntersection(bw::Vector(1, 1), UP | RIGHT | DOWN | LEFT);
    EXPECT_EQ(drawn(web), "") << "no '+' without a string";
    web.reset();
    web.hide();
    const int before = Web::getBlinkCounter();
    EXPECT_EQ(drawn(web), "");
    EXPECT_EQ(Web::getBlinkCounter(), before);
}
