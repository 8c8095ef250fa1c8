// Saucers: aimed at an interior intersection, they warn by blinking the twelve strings around
// it, come down on an arc, cut those strings on the crash and leave through the bottom.
#include "Saucer.h"

#include "Spawner.h"

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <cstdlib>

using SaucerTest = WebPlayTest;

TEST_F(SaucerTest, ASpawnedSaucerCrashesOnThe121stStepAfterItsCreationCuttingExactlyItsZone) {
    bw::WorldManager& world = bw::WorldManager::getInstance();
    int step = 1;
    const auto iterate = [&] {
        stepWorld(step++);
        // Only the spawner's saucers act: its flies and spiders are taken out again.
        for (bw::Object* object : world.getAllObjects())
            if (object->getType() == "Fly" || object->getType() == "GiantEnemySpider") delete object;
        return countOf("Saucer");
    };
    loadEnemySprites();
    new Spawner;
    while (iterate() == 0) ASSERT_LE(step, 600);
    auto* saucer = static_cast<Saucer*>(world.objectsOfType("Saucer")[0]);
    const bw::Vector target = saucer->getTarget();
    EXPECT_EQ(countLogLines("Spawned Saucer targetting: " + target.toString()), 1);
    // The warning blinks from the creation on: the twelve strings among the 3 × 3 intersections
    // around the target.
    const std::set<WebString> zone = blinkingStrings();
    EXPECT_EQ(zone.size(), 12u);
    const int x = static_cast<int>(target.getX()), y = static_cast<int>(target.getY());
    const auto close = [&](int c, int r) { return std::abs(c - x) <= 1 && std::abs(r - y) <= 1; };
    for (const WebString& w : zone) EXPECT_TRUE(close(w.x1, w.y1) && close(w.x2, w.y2)) << w.x1 << w.y1;
    std::set<WebString> rest = intactStrings();
    for (const WebString& string : zone) rest.erase(string);
    const bw::Box window(bw::Vector(), 80, 24);
    const auto out = [&] { return !bw::boxIntersectsBox(saucer->getWorldBox(), window); };
    bool seen_above = false;
    for (int after = 1; after <= 120; ++after) {
        ASSERT_EQ(iterate(), 1) << "deleted before its crash, " << after << " steps after creation";
        ASSERT_FALSE(saucer->isCrashed()) << "crashed " << after << " steps after creation";
        seen_above = seen_above || out(); // above: it rises first
    }
    EXPECT_TRUE(seen_above) << "it should have been out above the window, and kept";
    EXPECT_EQ(countIntactStrings(), 58);
    iterate();
    ASSERT_TRUE(saucer->isCrashed());
    EXPECT_EQ(intactStrings(), rest) << "exactly the zone's strings are cut";
    EXPECT_TRUE(blinkingStrings().empty());
    EXPECT_EQ(saucer->getAltitude(), 0);

    // It falls on and is removed in the update after the one that took it below the window.
    bool was_below = false;
    for (int extra = 0; countOf("Saucer") == 1; ++extra) {
        ASSERT_LT(extra, 100) << "never left the window";
        was_below = out();
        iterate();
    }
    EXPECT_TRUE(was_below);
    EXPECT_EQ(countLogLines("destroyed target"), 1);
}

