// The pop-up's flight: it rises from where it was created, slows, turns after its lifetime
// and falls ever faster until it has left the window, where it deletes itself.
#include "PopUp.h"

#include "EventKeyboard.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "WorldManager.h"

#include "RecordingObject.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using bw::Vector;

namespace {

const bw::Color KILL_RED(242, 66, 54, 1.0f);

class PopUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        bw::LogManager::getInstance().shutDown();
        bw::LogManager::getInstance().startUp();
        bw::LogManager::getInstance().setLogLevel(-1);
        world.startUp();
    }
    void TearDown() override { world.shutDown(); }

    /// One step as the game loop delivers it: the step event, then the world's update.
    static void step(int count) {
        const bw::EventStep event(count);
        for (bw::Object* object : bw::WorldManager::getInstance().getAllObjects())
            object->eventHandler(&event);
        bw::WorldManager::getInstance().update();
    }

    static bool inWorld(bw::Object* object) {
        return bw::WorldManager::getInstance().getAllObjects().contains(object);
    }

    /// Heights of a pop-up created at (40, 12) after each of its first count steps (index 0 is
    /// the starting height).
    static std::vector<float> heights(int count) {
        PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
        std::vector<float> ys{popup->getPosition().getY()};
        for (int i = 1; i <= count; ++i) {
            step(i);
            ys.push_back(popup->getPosition().getY());
        }
        return ys;
    }

    TempWorkDir dir;
    bw::WorldManager& world = bw::WorldManager::getInstance();
};

TEST_F(PopUpTest, StartsWithTwentyTwoStepsToLiveRisingAThirdOfACellPerStep) {
    const PopUp popup(Vector(40, 12), "250", KILL_RED);
    EXPECT_EQ(popup.getType(), "PopUp");
    EXPECT_EQ(popup.getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(popup.getAltitude(), 4);
    EXPECT_EQ(popup.getSprite(), nullptr);
    EXPECT_EQ(popup.getLifetime(), 22);
    EXPECT_EQ(popup.getRiseSpeed(), 0.33333334f);
    EXPECT_EQ(popup.getText(), "250");
    EXPECT_EQ(popup.getColor(), KILL_RED);
    EXPECT_EQ(popup.getPosition(), Vector(40, 12));
    EXPECT_EQ(popup.getVelocity(), Vector(0, 0));
}

TEST_F(PopUpTest, AnswersStepsOnly) {
    PopUp popup(Vector(40, 12), "50", bw::COLOR_WHITE);
    const bw::EventStep step(1);
    const bw::EventKeyboard key(bw::KEY_W, bw::KEY_PRESSED);
    EXPECT_EQ(popup.eventHandler(&step), 1);
    EXPECT_EQ(popup.eventHandler(&key), 0);
    EXPECT_EQ(popup.getLifetime(), 21);
}

TEST_F(PopUpTest, RiseSlowsByAFifthEachStepThenTurnsAndFallsFasterByAFifth) {
    PopUp popup(Vector(40, 12), "50", bw::COLOR_WHITE);
    const bw::EventStep step(1);
    popup.eventHandler(&step);
    EXPECT_FLOAT_EQ(popup.getPosition().getY(), 12.0f - 0.33333334f);
    EXPECT_FLOAT_EQ(popup.getRiseSpeed(), 0.26666668f);
    for (int i = 2; i <= 21; ++i)
        popup.eventHandler(&step);
    EXPECT_EQ(popup.getLifetime(), 1);
    EXPECT_GT(popup.getRiseSpeed(), 0.0f);
    const float before_turn = popup.getRiseSpeed();
    popup.eventHandler(&step);
    EXPECT_EQ(popup.getLifetime(), 0);
    EXPECT_FLOAT_EQ(popup.getRiseSpeed(), -before_turn);
    popup.eventHandler(&step);
    EXPECT_FLOAT_EQ(popup.getRiseSpeed(), -before_turn * 1.2f);
}

TEST_F(PopUpTest, ReachesItsHighestPointOnTheTwentySecondStep) {
    const std::vector<float> ys = heights(30);
    const auto highest = std::min_element(ys.begin(), ys.end()) - ys.begin();
    EXPECT_EQ(highest, 22);
    EXPECT_NEAR(ys[22], 10.35f, 0.01f);
    EXPECT_NEAR(12.0f - ys[22], 1.654f, 0.001f);
}

TEST_F(PopUpTest, PassesItsStartOnTheFortyEighthStepAndIsFourBelowOnTheFiftyFifth) {
    const std::vector<float> ys = heights(55);
    EXPECT_LT(ys[47], 12.0f);
    EXPECT_GE(ys[48], 12.0f);
    EXPECT_LT(ys[54], 16.0f);
    EXPECT_GE(ys[55], 16.0f);
}

TEST_F(PopUpTest, NeverMovesSideways) {
    PopUp* popup = new PopUp(Vector(17.5f, 12), "50", bw::COLOR_WHITE);
    for (int i = 1; i <= 50; ++i) {
        step(i);
        ASSERT_EQ(popup->getPosition().getX(), 17.5f) << "step " << i;
    }
}

TEST_F(PopUpTest, IsDeletedInTheFirstStepAfterWhichItLiesBelowTheWindow) {
    PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    int last_inside = 0;
    for (int i = 1; i <= 200 && inWorld(popup); ++i) {
        const float y = popup->getPosition().getY();
        const bw::EventStep event(i);
        popup->eventHandler(&event);
        const bool out = popup->getPosition().getY() > 24.0f;
        if (!out) last_inside = i;
        ASSERT_GE(y, 0.0f);
        world.update();
        ASSERT_EQ(inWorld(popup), !out) << "after step " << i << " at y " << y;
    }
    EXPECT_GT(last_inside, 55);
    EXPECT_TRUE(world.objectsOfType("PopUp").isEmpty());
}

TEST_F(PopUpTest, OnTheBottomEdgeItIsStillInside) {
    // y exactly 24 is not beyond the window: the out test is strict.
    PopUp* popup = new PopUp(Vector(40, 24.0f + 0.33333334f), "50", bw::COLOR_WHITE);
    step(1);
    EXPECT_EQ(popup->getPosition().getY(), 24.0f);
    EXPECT_TRUE(inWorld(popup));
}

TEST_F(PopUpTest, OneCreatedBesideTheWindowLeavesAfterItsFirstStep) {
    PopUp* right = new PopUp(Vector(80.5f, 12), "50", bw::COLOR_WHITE);
    PopUp* left = new PopUp(Vector(-0.5f, 12), "50", bw::COLOR_WHITE);
    PopUp* inside = new PopUp(Vector(80.0f, 12), "50", bw::COLOR_WHITE);
    step(1);
    EXPECT_FALSE(inWorld(right));
    EXPECT_FALSE(inWorld(left));
    EXPECT_TRUE(inWorld(inside));
}

TEST_F(PopUpTest, OneRisingOutThroughTheTopIsDeleted) {
    PopUp* popup = new PopUp(Vector(40, 0.2f), "50", bw::COLOR_WHITE);
    step(1);
    EXPECT_FALSE(inWorld(popup));
}

TEST_F(PopUpTest, AnOutEventMarksItForDeletion) {
    PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    const bw::EventOut out;
    EXPECT_EQ(popup->eventHandler(&out), 0);
    EXPECT_TRUE(inWorld(popup));
    world.update();
    EXPECT_FALSE(inWorld(popup));
}

TEST_F(PopUpTest, TwoCreatedTogetherMoveIdentically) {
    PopUp* first = new PopUp(Vector(30, 10), "200", bw::COLOR_WHITE);
    PopUp* second = new PopUp(Vector(30, 10), "300", bw::COLOR_WHITE);
    for (int i = 1; i <= 40; ++i) {
        step(i);
        ASSERT_EQ(first->getPosition(), second->getPosition()) << "step " << i;
        ASSERT_EQ(first->getRiseSpeed(), second->getRiseSpeed()) << "step " << i;
    }
}

TEST_F(PopUpTest, TakesNoPartInCollisions) {
    PopUp* popup = new PopUp(Vector(40, 12), "50", bw::COLOR_WHITE);
    popup->setBox(bw::Box(Vector(-1, -0.5f), 2, 1));
    RecordingObject* wall = new RecordingObject("wall", Vector(40, 12), bw::BLOCKING);
    EXPECT_TRUE(world.getCollisions(popup).isEmpty());
    EXPECT_FALSE(world.getCollisions(wall).contains(popup));
}

} // namespace
