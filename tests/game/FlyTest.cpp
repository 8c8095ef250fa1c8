// Flies: stuck on an interior string, untouchable during their intro, twitching after, eaten by
// the player for points and one silk charge.
#include "Fly.h"

#include "EventCollision.h"
#include "EventStep.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "WebPlayTestSupport.h"

#include <cmath>

class FlyTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites(); // the silk counter's seven frames let the charge reach 6
        loadEnemySprites();
        replaceSprite("fly-intro", 3, 8); // 24 steps
    }
};

TEST_F(FlyTest, SticksToAStringBetweenInteriorIntersectionsOrLeavesWithoutOne) {
    for (int i = 0; i < 60; ++i) {
        Fly fly;
        const bw::Vector w = Web::getInstance().worldToWeb(fly.getPosition());
        const auto whole = [](float v) { return std::fabs(v - std::round(v)) < 1e-4f; };
        // Interior intersections are 1 to INTERIOR_COLUMNS across and 1 to INTERIOR_ROWS down.
        const auto interior = [](float v, int last) { return v > 0.9999f && v < last + 0.0001f; };
        EXPECT_TRUE((whole(w.getX()) || whole(w.getY())) && interior(w.getX(), Web::INTERIOR_COLUMNS) &&
                    interior(w.getY(), Web::INTERIOR_ROWS))
            << w.toString() << " is not on a string between interior intersections";
    }
    severAllStrings();
    heard.take();
    new Fly;
    EXPECT_FALSE(heard.played("fly-intro"));
    stepWorld(5);
    EXPECT_EQ(countOf("Fly"), 0);
}

TEST_F(FlyTest, IntroFirstSeenOnStep100EndsOnStep123ThenItTwitchesAtMostATenthOfACellAway) {
    Fly fly; // with an intro 24 steps long
    EXPECT_EQ(heard.take(), std::vector<std::string>{"sound fly-intro"});
    std::set<std::pair<float, float>> spots;
    for (int step = 100; step < 99 + 120; ++step) {
        const int age = step - 99;
        // Untouchable during the intro, so the spider cannot eat it yet.
        EXPECT_EQ(fly.getSolidness(), age <= 24 ? bw::INTANGIBLE : bw::PASSABLE) << "age " << age;
        EXPECT_EQ(spriteOf(&fly), age <= 24 ? "fly-intro" : "fly-twitch") << "age " << age;
        const bw::EventStep event(step);
        EXPECT_EQ(fly.eventHandler(&event), age == 24 ? 1 : 0) << "age " << age;
        // The reach changes every 30 steps: sin(2 × (age / 30)) × 0.1, so 0 below 30.
        const float distance = fly.getPosition().distance(fly.getAnchor());
        EXPECT_NEAR(distance, std::fabs(std::sin(2.0 * (age / 30)) * 0.1), 1e-5) << "age " << age;
        EXPECT_LE(distance, 0.1f + 1e-6f) << "age " << age;
        spots.insert({fly.getPosition().getX(), fly.getPosition().getY()});
    }
    EXPECT_GT(spots.size(), 60u) << "each step should pick a fresh direction";
}

TEST_F(FlyTest, APlayerInEitherSlotEatsItAndTheThirdChargeSoundsSilkCharged) {
    PopUpWatcher watcher;
    for (int charge_before = 0; charge_before <= 5; ++charge_before) {
        SCOPED_TRACE("charge before " + std::to_string(charge_before));
        ScoreCounter::getInstance().reset();
        SilkCounter::getInstance().reset();
        for (int i = 0; i < charge_before; ++i) SilkCounter::getInstance().addCharge();
        auto* fly = new Fly;
        heard.take();
        bw::Object player;
        player.setType("Player");
        const bool player_first = charge_before % 2 == 0;
        const bw::EventCollision eat(player_first ? &player : static_cast<bw::Object*>(fly),
                                     player_first ? static_cast<bw::Object*>(fly) : &player, bw::Vector());
        EXPECT_EQ(fly->eventHandler(&eat), 1);
        EXPECT_EQ(SilkCounter::getInstance().getCharge(), charge_before + 1);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 50);
        EXPECT_EQ(heard.take(), std::vector<std::string>{charge_before == 2 ? "sound silk-charged" : "sound points-gained"});
        const std::vector<PopUpSighting> popups = watcher.newPopUps();
        ASSERT_EQ(popups.size(), 1u);
        EXPECT_EQ(popups[0].text, "50");
        EXPECT_EQ(popups[0].position, fly->getPosition());
        EXPECT_EQ(popups[0].color, bw::Color(0xE3, 0x63, 0x97, 1.0f));
        stepWorld(1);
        EXPECT_EQ(countOf("Fly"), 0);
    }
}
