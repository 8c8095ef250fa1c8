#include "Saucer.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "Spawner.h"
#include "Web.h"
#include "WorldManager.h"

#include "EnemyTestSupport.h"
#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <string>

namespace {

/// The strings among the 3 × 3 intersections around (x, y) that lie inside the web.
std::set<WebString> zoneOf(int x, int y) {
    std::set<WebString> zone;
    for (int row = y - 1; row <= y + 1; ++row) {
        for (int column = x - 1; column <= x + 1; ++column) {
            const bool inside = column >= 0 && column < Web::COLUMNS && row >= 0 && row < Web::ROWS;
            if (!inside) continue;
            if (column + 1 <= x + 1 && column + 1 < Web::COLUMNS) zone.insert({column, row, column + 1, row});
            if (row + 1 <= y + 1 && row + 1 < Web::ROWS) zone.insert({column, row, column, row + 1});
        }
    }
    return zone;
}

std::set<WebString> without(const std::set<WebString>& all, const std::set<WebString>& removed) {
    std::set<WebString> rest;
    std::set_difference(all.begin(), all.end(), removed.begin(), removed.end(), std::inserter(rest, rest.end()));
    return rest;
}

std::set<WebString> common(const std::set<WebString>& a, const std::set<WebString>& b) {
    std::set<WebString> both;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(both, both.end()));
    return both;
}

int saucersInWorld() { return bw::WorldManager::getInstance().objectsOfType("Saucer").getCount(); }

/// Takes out the flies and spiders a spawner made, so only its saucers act.
void removeFliesAndSpiders() {
    for (bw::Object* object : bw::WorldManager::getInstance().getAllObjects())
        if (object->getType() == "Fly" || object->getType() == "GiantEnemySpider") delete object;
}

class SaucerTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().startUp();
        ensureGameSprite("saucer", "saucer!.txt", spriteFileText(4, 9, 2, 4));
        ensureGameSprite("fly-intro", "fly-intro-spr.txt", spriteFileText(8, 3, 1, 3));
        ensureGameSprite("fly-twitch", "fly-twitch-spr.txt", spriteFileText(4, 3, 1, 3));
        for (const char* label : {"enemy-right", "enemy-left", "enemy-up", "enemy-down"})
            ensureGameSprite(label, std::string("giant-enemy-spider-") + (label + 6) + ".txt", spriteFileText(1, 7, 3, 5));
        Web::getInstance().reset();
        std::srand(11);
    }

    /// Half the saucer sprite's height, in cells: how far past an edge it must be to be out.
    static float halfHeight() { return bw::ResourceManager::getInstance().getSprite("saucer")->getHeight() / 2.0f; }

    TempWorkDir work_dir;
};

TEST_F(SaucerTest, StartsHighAboveItsTargetOnARisingArcWithItsZoneBlinking) {
    const std::set<WebString> woven = intactStrings();
    Saucer saucer(bw::Vector(3, 2));
    const bw::Vector target_position = Web::getInstance().webToWorld(bw::Vector(3, 2));

    EXPECT_EQ(saucer.getType(), "Saucer");
    EXPECT_EQ(saucer.getTarget(), bw::Vector(3, 2));
    EXPECT_EQ(saucer.getTargetPosition(), target_position);
    EXPECT_FLOAT_EQ(saucer.getPosition().getX(), target_position.getX());
    EXPECT_FLOAT_EQ(saucer.getPosition().getY(), target_position.getY() - 32.0f);
    EXPECT_NEAR(saucer.getVelocity().getX(), 0.0f, 1e-7);
    EXPECT_NEAR(saucer.getVelocity().getY(), -2.3202381f, 1e-6);
    EXPECT_FLOAT_EQ(saucer.getGravity(), 1.5f);
    EXPECT_FALSE(saucer.isCrashed());
    EXPECT_EQ(saucer.getAltitude(), 3);
    EXPECT_EQ(saucer.getSolidness(), bw::PASSABLE);
    ASSERT_NE(saucer.getSprite(), nullptr);
    EXPECT_EQ(saucer.getSprite()->getLabel(), "saucer");
    EXPECT_EQ(saucer.getBox().getVertical(), static_cast<float>(saucer.getSprite()->getHeight()));

    EXPECT_EQ(blinkingStrings(), zoneOf(3, 2));
    EXPECT_EQ(blinkingStrings().size(), 12u);
    EXPECT_EQ(intactStrings(), woven) << "a warning must not cut anything";
}

TEST_F(SaucerTest, EachStepAddsGravityOverTheFrameTime) {
    Saucer saucer(bw::Vector(3, 2));
    const bw::EventStep step(1);
    EXPECT_EQ(saucer.eventHandler(&step), 1);
    EXPECT_NEAR(saucer.getVelocity().getY(), -2.3202381f + 0.05f, 1e-6);
    EXPECT_EQ(saucer.eventHandler(&step), 1);
    EXPECT_NEAR(saucer.getVelocity().getY(), -2.3202381f + 0.1f, 1e-6);
    EXPECT_NEAR(saucer.getVelocity().getX(), 0.0f, 1e-7);
}

TEST_F(SaucerTest, CollisionsAndOtherEventsLeaveItAlone) {
    Saucer saucer(bw::Vector(3, 2));
    bw::Object spider;
    spider.setType("GiantEnemySpider");
    const bw::Vector velocity = saucer.getVelocity();
    const bw::EventCollision hit(&spider, &saucer, saucer.getPosition());
    const bw::EventCollision hit_back(&saucer, &spider, saucer.getPosition());
    const bw::Event other;
    EXPECT_EQ(saucer.eventHandler(&hit), 0);
    EXPECT_EQ(saucer.eventHandler(&hit_back), 0);
    EXPECT_EQ(saucer.eventHandler(&other), 0);
    EXPECT_EQ(saucer.getVelocity(), velocity);
    EXPECT_FALSE(saucer.isCrashed());
    EXPECT_EQ(blinkingStrings(), zoneOf(3, 2));
}

TEST_F(SaucerTest, ASpawnedSaucerCrashesOnThe121stStepAfterItsCreation) {
    Spawner spawner;
    int step = 1;
    for (; saucersInWorld() == 0; ++step) {
        ASSERT_LE(step, 600);
        runLoopStep(step);
        removeFliesAndSpiders();
    }
    const int created = step - 1;
    EXPECT_EQ(created, 600);
    auto* saucer = static_cast<Saucer*>(bw::WorldManager::getInstance().objectsOfType("Saucer")[0]);
    const bw::Vector target = saucer->getTarget();
    EXPECT_EQ(countLogLines("Spawned Saucer targetting: " + target.toString()), 1);
    const std::set<WebString> zone = zoneOf(static_cast<int>(target.getX()), static_cast<int>(target.getY()));
    ASSERT_EQ(zone.size(), 12u);
    const std::set<WebString> before = intactStrings();

    bool seen_outside_above = false;
    for (int after = 1; after <= 120; ++after, ++step) {
        runLoopStep(step);
        removeFliesAndSpiders();
        ASSERT_EQ(saucersInWorld(), 1) << "deleted before its crash, " << after << " steps after creation";
        ASSERT_FALSE(saucer->isCrashed()) << "crashed " << after << " steps after creation";
        seen_outside_above = seen_outside_above || saucer->getPosition().getY() + halfHeight() < 0;
    }
    EXPECT_TRUE(seen_outside_above) << "it should have flown above the window and been told it was out";
    EXPECT_EQ(intactStrings(), before);
    EXPECT_EQ(blinkingStrings(), zone);
    EXPECT_EQ(countLogLines("destroyed target"), 0);

    runLoopStep(step++);
    removeFliesAndSpiders();
    ASSERT_TRUE(saucer->isCrashed());
    EXPECT_EQ(intactStrings(), without(before, zone)) << "exactly the zone's twelve strings are cut";
    EXPECT_TRUE(blinkingStrings().empty());
    EXPECT_EQ(saucer->getAltitude(), 0);
    EXPECT_EQ(countLogLines("destroyed target"), 1);

    // It falls on and is removed in the update after the one that took it below the window.
    bool was_below = false;
    for (int extra = 0; saucersInWorld() == 1; ++extra, ++step) {
        ASSERT_LT(extra, 100) << "never left the window";
        was_below = saucer->getPosition().getY() - halfHeight() > 24;
        runLoopStep(step);
        removeFliesAndSpiders();
    }
    EXPECT_TRUE(was_below);
    EXPECT_EQ(countLogLines("destroyed target"), 1);
}

TEST_F(SaucerTest, CrashesOnTheFirstStepThatFindsItBelowTheTargetHeight) {
    // A saucer dropped straight down, as at game over.
    auto* saucer = new Saucer(bw::Vector(4, 3));
    saucer->setVelocity(bw::Vector(0, 2));
    const float target_y = saucer->getTargetPosition().getY();
    for (int step = 1; !saucer->isCrashed(); ++step) {
        ASSERT_LT(step, 200);
        const float y = saucer->getPosition().getY();
        runLoopStep(step);
        EXPECT_EQ(saucer->isCrashed(), y > target_y) << "at y = " << y;
    }
    EXPECT_TRUE(common(intactStrings(), zoneOf(4, 3)).empty());
}

TEST_F(SaucerTest, OnlyACrashedSaucerIsDeletedWhenOut) {
    auto* saucer = new Saucer(bw::Vector(2, 1));
    const bw::EventOut out;
    EXPECT_EQ(saucer->eventHandler(&out), 1);
    bw::WorldManager::getInstance().update();
    ASSERT_EQ(saucersInWorld(), 1);

    saucer->setPosition(saucer->getTargetPosition() + bw::Vector(0, 0.5f));
    const bw::EventStep step(1);
    saucer->eventHandler(&step);
    ASSERT_TRUE(saucer->isCrashed());
    EXPECT_EQ(saucer->eventHandler(&out), 1);
    bw::WorldManager::getInstance().update();
    EXPECT_EQ(saucersInWorld(), 0);
}

TEST_F(SaucerTest, CrashesOnlyOnce) {
    Saucer saucer(bw::Vector(5, 3));
    saucer.setPosition(saucer.getTargetPosition() + bw::Vector(0, 1));
    const bw::EventStep step(1);
    saucer.eventHandler(&step);
    ASSERT_TRUE(saucer.isCrashed());
    const std::set<WebString> after_crash = intactStrings();

    // A string mended in the zone stays mended: the strike is over.
    Web::getInstance().repairConnection(bw::Vector(5, 3), bw::Vector(6, 3));
    for (int i = 0; i < 10; ++i) saucer.eventHandler(&step);
    EXPECT_EQ(intactStrings().size(), after_crash.size() + 1);
    EXPECT_EQ(countLogLines("destroyed target"), 1);
    EXPECT_EQ(saucer.getAltitude(), 0);
}

TEST_F(SaucerTest, NeighbouringSaucersShareStringsAndTheFirstCrashSettlesThem) {
    const std::set<WebString> woven = intactStrings();
    const std::set<WebString> zone_a = zoneOf(2, 2);
    const std::set<WebString> zone_b = zoneOf(3, 2);
    const std::set<WebString> shared = common(zone_a, zone_b);
    ASSERT_EQ(shared.size(), 7u);

    auto* first = new Saucer(bw::Vector(2, 2));
    int step = 1;
    for (; step <= 20; ++step) runLoopStep(step);
    auto* second = new Saucer(bw::Vector(3, 2));
    while (!first->isCrashed()) {
        ASSERT_LT(step, 400);
        runLoopStep(step++);
    }
    EXPECT_FALSE(second->isCrashed());
    EXPECT_EQ(intactStrings(), without(woven, zone_a));
    EXPECT_EQ(blinkingStrings(), without(zone_b, shared)) << "the shared strings stop blinking with the first crash";

    while (!second->isCrashed()) {
        ASSERT_LT(step, 400);
        runLoopStep(step++);
    }
    std::set<WebString> both = zone_a;
    both.insert(zone_b.begin(), zone_b.end());
    EXPECT_EQ(intactStrings(), without(woven, both));
    EXPECT_TRUE(blinkingStrings().empty());
    EXPECT_EQ(countLogLines("destroyed target"), 2);
}

TEST_F(SaucerTest, AZoneReachingPastTheBorderKeepsToTheWeb) {
    Saucer saucer(bw::Vector(0, 0));
    EXPECT_EQ(blinkingStrings(), zoneOf(0, 0));
    saucer.destroyTarget();
    saucer.setTargetFlashing(false);
    EXPECT_TRUE(blinkingStrings().empty());
    EXPECT_FALSE(logHasLineStartingWith("WARNING"));
    EXPECT_EQ(countLogLines("destroyed target"), 1);
}

} // namespace
