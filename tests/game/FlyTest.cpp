#include "Fly.h"

#include "Box.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "PopUp.h"
#include "ResourceManager.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "EnemyTestSupport.h"
#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace {

int fliesInWorld() { return bw::WorldManager::getInstance().objectsOfType("Fly").getCount(); }

/// True when the web coordinate w lies on the segment between two neighbouring interior
/// intersections (or on an interior intersection).
bool onInteriorString(bw::Vector w) {
    const float x = w.getX();
    const float y = w.getY();
    const bool whole_x = std::fabs(x - std::round(x)) < 1e-4f;
    const bool whole_y = std::fabs(y - std::round(y)) < 1e-4f;
    const auto interiorColumn = [](float v) { return v >= 1 - 1e-4f && v <= 6 + 1e-4f; };
    const auto interiorRow = [](float v) { return v >= 1 - 1e-4f && v <= 4 + 1e-4f; };
    return (whole_x || whole_y) && interiorColumn(x) && interiorRow(y);
}

class FlyTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().startUp();
        ensureGameSprite("fly-intro", "fly-intro-spr.txt", spriteFileText(8, 3, 1, 3));
        ensureGameSprite("fly-twitch", "fly-twitch-spr.txt", spriteFileText(4, 3, 1, 3));
        // Seven frames: the charge can reach 6, past the shot's cost of 3.
        ensureGameSprite("silk-counter-spr", "silk-counter.txt", spriteFileText(7, 8, 2, 1));
        ASSERT_TRUE(prepareToneSound("fly-intro"));
        ASSERT_TRUE(prepareToneSound("silk-charged"));
        ASSERT_TRUE(prepareToneSound("points-gained"));
        Web::getInstance().reset();
        ScoreCounter::getInstance().reset();
        SilkCounter::getInstance().reset();
        std::srand(3);
    }

    static int introLength() { return bw::ResourceManager::getInstance().getSprite("fly-intro")->getTotalSlowdown(); }

    /// Sends the fly steps first_step, first_step + 1, … until its intro is over. Returns the
    /// next step number.
    static int finishIntro(Fly& fly, int first_step) {
        int step = first_step;
        while (fly.isIntro()) {
            const bw::EventStep event(step++);
            fly.eventHandler(&event);
            if (step > first_step + 1000) break;
        }
        return step;
    }

    TempWorkDir work_dir;
};

TEST_F(FlyTest, SticksToARandomPointOnAStringBetweenInteriorIntersections) {
    std::set<std::pair<float, float>> anchors;
    for (int i = 0; i < 60; ++i) {
        Fly fly;
        const bw::Vector anchor = fly.getAnchor();
        anchors.insert({anchor.getX(), anchor.getY()});
        EXPECT_EQ(fly.getPosition(), anchor);
        EXPECT_TRUE(onInteriorString(Web::getInstance().worldToWeb(anchor)))
            << "anchor " << anchor.toString() << " is not on a string between interior intersections";
    }
    EXPECT_GT(anchors.size(), 50u) << "flies should land at different places";
}

TEST_F(FlyTest, ArrivesUntouchableWithItsIntroSpriteAndSound) {
    Fly fly;
    EXPECT_EQ(fly.getType(), "Fly");
    EXPECT_TRUE(fly.isIntro());
    EXPECT_EQ(fly.getBirthStep(), -1);
    EXPECT_EQ(fly.getPoints(), 50);
    EXPECT_EQ(fly.getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(fly.getAltitude(), 1);
    ASSERT_NE(fly.getSprite(), nullptr);
    EXPECT_EQ(fly.getSprite()->getLabel(), "fly-intro");
    EXPECT_EQ(fly.getBox().getHorizontal(), static_cast<float>(fly.getSprite()->getWidth()));
    EXPECT_TRUE(isSoundPlaying("fly-intro"));
}

TEST_F(FlyTest, ATwentyFourStepIntroFirstSeenOnStep100EndsOnStep123) {
    ASSERT_TRUE(replaceSprite("fly-intro", spriteFileText(3, 3, 1, 8)));
    Fly fly;
    ASSERT_EQ(fly.getSprite()->getTotalSlowdown(), 24);
    for (int step = 100; step <= 122; ++step) {
        const bw::EventStep event(step);
        EXPECT_EQ(fly.eventHandler(&event), 0) << "step " << step;
        EXPECT_EQ(fly.getBirthStep(), 99);
        EXPECT_TRUE(fly.isIntro()) << "step " << step;
        EXPECT_EQ(fly.getSolidness(), bw::INTANGIBLE);
        EXPECT_EQ(fly.getPosition(), fly.getAnchor()) << "no twitching during the intro";
    }
    const bw::EventStep last(123);
    EXPECT_EQ(fly.eventHandler(&last), 1);
    EXPECT_FALSE(fly.isIntro());
    EXPECT_EQ(fly.getSolidness(), bw::PASSABLE);
    EXPECT_EQ(fly.getSprite()->getLabel(), "fly-twitch");
    EXPECT_EQ(fly.getBirthStep(), 99);

    const bw::EventStep next(124);
    EXPECT_EQ(fly.eventHandler(&next), 0);
}

TEST_F(FlyTest, ThePlayerCannotTouchItUntilTheIntroIsOver) {
    auto* fly = new Fly;
    bw::Object player;
    player.setType("Player");
    player.setSolidness(bw::PASSABLE);
    player.setBox(bw::Box(bw::Vector(-1.5f, -1.5f), 3, 3));
    bw::WorldManager& world = bw::WorldManager::getInstance();
    const bw::Vector nudge(0.1f, 0);

    int step = 1;
    for (; step < introLength(); ++step) {
        const bw::EventStep event(step);
        fly->eventHandler(&event);
        player.setPosition(fly->getPosition());
        world.moveObject(&player, fly->getPosition() + nudge);
        world.update();
        ASSERT_EQ(fliesInWorld(), 1) << "eaten during its intro, step " << step;
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 0);

    const bw::EventStep event(step);
    EXPECT_EQ(fly->eventHandler(&event), 1);
    ASSERT_FALSE(fly->isIntro());
    player.setPosition(fly->getPosition());
    world.moveObject(&player, fly->getPosition() + nudge);
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 50);
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 1);
    world.update();
    EXPECT_EQ(fliesInWorld(), 0);
}

TEST_F(FlyTest, SitsOnItsAnchorUntilAgeThirtyThenTwitchesWithAReachThatChangesEveryThirtySteps) {
    Fly fly;
    int step = finishIntro(fly, 1);
    ASSERT_LT(step - 1 - fly.getBirthStep(), 30) << "the intro should end before age 30";
    for (; step - fly.getBirthStep() < 30; ++step) {
        const bw::EventStep event(step);
        EXPECT_EQ(fly.eventHandler(&event), 0);
        EXPECT_EQ(fly.getPosition(), fly.getAnchor()) << "age " << step - fly.getBirthStep();
    }
    std::set<std::pair<float, float>> spots;
    for (; step - fly.getBirthStep() < 120; ++step) {
        const bw::EventStep event(step);
        fly.eventHandler(&event);
        const int age = step - fly.getBirthStep();
        const double reach = std::fabs(std::sin(2.0 * (age / 30)) * 0.1);
        const float distance = fly.getPosition().distance(fly.getAnchor());
        EXPECT_LE(distance, 0.1f + 1e-6f) << "age " << age;
        EXPECT_NEAR(distance, reach, 1e-5) << "age " << age;
        spots.insert({fly.getPosition().getX(), fly.getPosition().getY()});
    }
    EXPECT_GT(spots.size(), 60u) << "each step should pick a fresh direction";
}

TEST_F(FlyTest, APlayerInEitherSlotEatsIt) {
    for (const bool player_first : {true, false}) {
        SCOPED_TRACE(player_first ? "player as object 1" : "player as object 2");
        ScoreCounter::getInstance().reset();
        SilkCounter::getInstance().reset();
        auto* fly = new Fly;
        finishIntro(*fly, 1);
        bw::Object player;
        player.setType("Player");
        const bw::EventCollision collision(player_first ? static_cast<bw::Object*>(&player) : fly,
                                           player_first ? static_cast<bw::Object*>(fly) : &player, fly->getPosition());
        const bw::Vector where = fly->getPosition();
        EXPECT_EQ(fly->eventHandler(&collision), 1);
        EXPECT_EQ(SilkCounter::getInstance().getCharge(), 1);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 50);

        const bw::ObjectList popups = bw::WorldManager::getInstance().objectsOfType("PopUp");
        ASSERT_EQ(popups.getCount(), 1);
        const auto* popup = static_cast<const PopUp*>(popups[0]);
        EXPECT_EQ(popup->getText(), "50");
        EXPECT_EQ(popup->getPosition(), where);
        EXPECT_EQ(popup->getColor(), bw::Color(0xE3, 0x63, 0x97, 1.0f));
        delete popups[0];

        bw::WorldManager::getInstance().update();
        EXPECT_EQ(fliesInWorld(), 0);
    }
}

TEST_F(FlyTest, SoundsSilkChargedExactlyWhenItBringsTheChargeToThree) {
    SilkCounter& silk = SilkCounter::getInstance();
    for (int charge_before = 0; charge_before <= 5; ++charge_before) {
        SCOPED_TRACE("charge before " + std::to_string(charge_before));
        silk.reset();
        for (int i = 0; i < charge_before; ++i) silk.addCharge();
        ASSERT_EQ(silk.getCharge(), charge_before);
        ASSERT_TRUE(prepareToneSound("silk-charged"));
        ASSERT_TRUE(prepareToneSound("points-gained"));

        auto* fly = new Fly;
        finishIntro(*fly, 1);
        bw::Object player;
        player.setType("Player");
        const bw::EventCollision collision(&player, fly, fly->getPosition());
        fly->eventHandler(&collision);
        EXPECT_EQ(silk.getCharge(), charge_before + 1);
        EXPECT_EQ(isSoundPlaying("silk-charged"), charge_before == 2);
        EXPECT_EQ(isSoundPlaying("points-gained"), charge_before != 2);
        bw::WorldManager::getInstance().update();
    }
}

TEST_F(FlyTest, IgnoresEveryoneButThePlayer) {
    Fly fly;
    finishIntro(fly, 1);
    for (const char* type : {"GiantEnemySpider", "SilkShot", "Saucer", "Fly", "player"}) {
        bw::Object other;
        other.setType(type);
        const bw::EventCollision collision(&other, &fly, fly.getPosition());
        const bw::EventCollision reverse(&fly, &other, fly.getPosition());
        EXPECT_EQ(fly.eventHandler(&collision), 0) << type;
        EXPECT_EQ(fly.eventHandler(&reverse), 0) << type;
    }
    const bw::EventOut out;
    EXPECT_EQ(fly.eventHandler(&out), 0);
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 0);
    bw::WorldManager::getInstance().update();
    EXPECT_EQ(fliesInWorld(), 1);
}

TEST_F(FlyTest, AFlyWithNoStringToSitOnRemovesItselfAtItsFirstStep) {
    severAllStrings();
    auto* fly = new Fly;
    EXPECT_FALSE(isSoundPlaying("fly-intro"));
    const bw::EventStep step(5);
    fly->eventHandler(&step);
    bw::WorldManager::getInstance().update();
    EXPECT_EQ(fliesInWorld(), 0);
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 0);
}

} // namespace
