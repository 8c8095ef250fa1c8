// What comes onto the web besides the spiders: flies (stuck on an interior string, untouchable
// during their intro, twitching after, eaten by the player's spider for points and a charge),
// silk shots (restoring cut strings, scoring on giant enemy spiders), the spawner's shrinking
// timers, and saucers that blink, crash on and cut their zone.
#include "Fly.h"
#include "Player.h"
#include "Saucer.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "SilkShot.h"
#include "Spawner.h"

#include "EventCollision.h"
#include "EventStep.h"

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

using bw::Vector;
using Heard = std::vector<std::string>;

namespace {

const bw::Color FLY_PINK(0xE3, 0x63, 0x97, 1.0f), KILL_RED(242, 66, 54, 1.0f);

/// Steps at which a spawner created objects, per type, counted from its first step event (1).
using SpawnLog = std::map<std::string, std::vector<int>>;
using Targets = std::set<std::pair<float, float>>;

class WebCreaturesTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites(); // the silk counter's seven frames let the charge reach 6
        loadEnemySprites();
        replaceSprite("fly-intro", 3, 8); // 24 steps
    }
    /// Sends step events to the spawner alone and takes whatever it created out of the world
    /// again (noting saucer targets), so thousands of steps stay cheap and nothing else acts.
    static SpawnLog runSpawner(Spawner& spawner, int steps, Targets* targets = nullptr) {
        SpawnLog spawned;
        for (int step = 1; step <= steps; ++step) {
            const bw::EventStep event(step);
            spawner.eventHandler(&event);
            for (bw::Object* object : bw::WorldManager::getInstance().getAllObjects()) {
                const std::string type = object->getType();
                if (type != "GiantEnemySpider" && type != "Fly" && type != "Saucer") continue;
                EXPECT_TRUE(spawned[type].empty() || spawned[type].back() != step) << "two of " << type;
                spawned[type].push_back(step);
                if (const auto* saucer = dynamic_cast<Saucer*>(object); saucer && targets)
                    targets->insert({saucer->getTarget().getX(), saucer->getTarget().getY()});
                delete object;
            }
        }
        return spawned;
    }
};

TEST_F(WebCreaturesTest, FlySitsOnAnInteriorStringUntouchableForItsIntroThenTwitchesOrLeavesWithoutAString) {
    Fly fly; // with an intro 24 steps long
    EXPECT_EQ(heard.take(), Heard{"sound fly-intro"});
    std::set<std::pair<float, float>> spots;
    for (int step = 100; step < 99 + 120; ++step) {
        const int age = step - 99;
        // Untouchable during the intro, so the spider cannot eat it yet.
        EXPECT_EQ(fly.getSolidness(), age <= 24 ? bw::INTANGIBLE : bw::PASSABLE) << "age " << age;
        EXPECT_EQ(spriteOf(&fly), age <= 24 ? "fly-intro" : "fly-twitch") << "age " << age;
        const bw::EventStep event(step);
        EXPECT_EQ(fly.eventHandler(&event), age == 24 ? 1 : 0) << "age " << age;
        // The reach in each 30 steps of its age: none at first, then at most a tenth of a cell.
        const float reach[] = {0.0f, 0.0909297f, 0.0756802f, 0.0279415f};
        EXPECT_NEAR(fly.getPosition().distance(fly.getAnchor()), reach[age / 30], 1e-5) << "age " << age;
        spots.insert({fly.getPosition().getX(), fly.getPosition().getY()});
    }
    EXPECT_GT(spots.size(), 60u) << "each step should pick a fresh direction";
    const auto whole = [](float v) { return std::fabs(v - std::round(v)) < 1e-4f; };
    const auto interior = [](float v, int last) { return v > 0.9999f && v < last + 0.0001f; };
    for (int i = 0; i < 60; ++i) {
        const Vector w = Web::getInstance().worldToWeb(Fly().getPosition());
        EXPECT_TRUE((whole(w.getX()) || whole(w.getY())) && interior(w.getX(), Web::INTERIOR_COLUMNS) &&
                    interior(w.getY(), Web::INTERIOR_ROWS))
            << w.toString() << " is not on a string between interior intersections";
    }
    severAllStrings();
    heard.take();
    new Fly;
    EXPECT_TRUE(heard.take().empty());
    stepWorld(5);
    EXPECT_EQ(countOf("Fly"), 1) << "only the first one stays";
}

TEST_F(WebCreaturesTest, FlyMeetingAPlayerInEitherSlotIsEatenAndTheThirdChargeSoundsSilkCharged) {
    auto* player = new Player;
    for (int charge_before = 0; charge_before <= 5; ++charge_before) {
        SCOPED_TRACE("charge before " + std::to_string(charge_before));
        ScoreCounter::getInstance().reset();
        auto* fly = new Fly;
        heard.take();
        bw::Object* pair[] = {player, fly};
        const bw::EventCollision eat(pair[charge_before % 2], pair[1 - charge_before % 2], Vector());
        EXPECT_EQ(fly->eventHandler(&eat) * 10 + player->eventHandler(&eat), 10);
        EXPECT_EQ(SilkCounter::getInstance().getCharge(), charge_before + 1);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 50);
        EXPECT_EQ(heard.take(), (Heard{charge_before == 2 ? "sound silk-charged" : "sound points-gained", "sound player-eat"}));
        EXPECT_EQ(takePopUps(), (std::vector<PopUpSighting>{{"50", fly->getPosition(), FLY_PINK}}));
        stepWorld(1);
        EXPECT_EQ(countOf("Fly"), 0);
    }
    // The spider slurps only flies.
    bw::Object other;
    other.setType("Saucer");
    const bw::EventCollision bump(player, &other, Vector());
    player->eventHandler(&bump);
    EXPECT_TRUE(heard.take().empty());
}

TEST_F(WebCreaturesTest, PlayerRunningAlongItsStringEatsTheFlyOnItThroughTheWorldsCollisions) {
    // Only the string (1, 1)-(2, 1) is left while the fly picks its place, so it sits there.
    severAllStrings();
    Web::getInstance().repairConnection(Vector(1, 1), Vector(2, 1));
    auto* fly = new Fly;
    Web::getInstance().reset();
    const int points = fly->getPoints();
    auto* player = new Player; // enters along row 1
    heard.take();
    for (int step = 1; countOf("Fly") == 1; ++step) {
        ASSERT_LT(step, 100) << "the spider never reached the fly";
        stepWorld(step);
    }
    EXPECT_EQ(heard.take(), (Heard{"sound player-eat", "sound points-gained"}));
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), points);
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 1);
    EXPECT_FALSE(player->isDying());
}

TEST_F(WebCreaturesTest, EachRepairOfTheSameShotPaysAHundredMoreAtTheStringsMiddle) {
    // Direction, start just outside the border it bounced at, and the middles of the cut strings
    // in the order the shot meets them. The anchor string is the first one a shot restores.
    for (const auto& [bit, start, middles] :
         {std::tuple(RIGHT, Vector(-0.03f, 1), std::vector<Vector>{{0.5f, 1}, {4.5f, 1}}),
          std::tuple(LEFT, Vector(7.03f, 3),
                     std::vector<Vector>{{6.5f, 3}, {5.5f, 3}, {4.5f, 3}, {3.5f, 3}, {2.5f, 3}, {1.5f, 3}, {0.5f, 3}}),
          std::tuple(UP, Vector(3, 5.04f), std::vector<Vector>{{3, 3.5f}, {3, 0.5f}})}) {
        SCOPED_TRACE(start.toString());
        const Vector half(Web::directionToOffset(bit).getX() / 2, Web::directionToOffset(bit).getY() / 2);
        for (const Vector m : middles) Web::getInstance().severConnection(m - half, m + half);
        // Iterations in the game loop's order until the shot has come and gone, taking each
        // pop-up where it appeared. The shot is fired in the first step pass, as at a bounce.
        std::vector<PopUpSighting> seen;
        for (int i = 0; i < 200 && (i == 0 || countOf("SilkShot") > 0); ++i) {
            if (i == 0) (new SilkShot(bit))->fireFrom(at(start));
            else broadcastStep(i);
            for (const PopUpSighting& popup : takePopUps()) seen.push_back(popup);
            bw::WorldManager::getInstance().update();
        }
        EXPECT_EQ(countOf("SilkShot"), 0) << "deleted once out of the window";
        ASSERT_EQ(seen.size(), middles.size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].text, std::to_string(200 + 100 * i));
            EXPECT_LT(seen[i].position.distance(at(middles[i])), 1e-4f) << i;
            EXPECT_EQ(seen[i].color, bw::COLOR_WHITE);
        }
        const int n = static_cast<int>(seen.size());
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), n * 200 + n * (n - 1) * 50);
        EXPECT_EQ(countIntactStrings(), 58);
        restartWorld();
    }
}

TEST_F(WebCreaturesTest, ShotScoresOnlyOnGiantEnemySpidersInEitherSlotTwoFiftyFourHundredFiveFifty) {
    SilkShot shot(RIGHT);
    bw::Object others[5];
    for (int i = 0; i < 5; ++i) {
        others[i].setType(i < 3 ? "GiantEnemySpider" : i == 3 ? "Saucer" : "giantenemyspider");
        others[i].setPosition(Vector(20.0f + 10 * i, 5.0f + 5 * i));
        const bw::EventCollision first(&others[i], &shot, Vector()), second(&shot, &others[i], Vector());
        EXPECT_EQ(shot.eventHandler(i == 1 ? &first : &second), i < 3 ? 1 : 0) << i;
        std::vector<PopUpSighting> awards{{std::to_string(250 + 150 * i), others[i].getPosition(), KILL_RED}};
        if (i >= 3) {
            awards.clear();
            EXPECT_EQ(shot.eventHandler(&first), 0);
        }
        EXPECT_EQ(takePopUps(), awards);
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 250 + 400 + 550);
}

TEST_F(WebCreaturesTest, SpawnerFirstSpawnsOn130And330And600ThenGapsShrinkToThirtyStepsAndANewOneStartsAfresh) {
    for (const int run : {60000, 600}) { // the second spawner comes after one that hit the floor
        Spawner spawner;
        const SpawnLog spawned = runSpawner(spawner, run);
        EXPECT_EQ(spawned.at("Fly").front(), 130) << run;
        EXPECT_EQ(spawned.at("GiantEnemySpider").front(), 330) << run;
        EXPECT_EQ(spawned.at("Saucer").front(), 600) << run;
        if (run == 600) break;
        // Type, first gaps, and the spawn whose interval first reaches the floor.
        for (const auto& [type, first_gaps, floor_spawn] :
             {std::tuple("Fly", std::vector<int>{127, 124, 122, 119}, 73),
              std::tuple("GiantEnemySpider", std::vector<int>{588, 577, 565}, 149),
              std::tuple("Saucer", std::vector<int>{1030, 1009, 989}, 176)}) {
            SCOPED_TRACE(type);
            const std::vector<int>& steps = spawned.at(type);
            ASSERT_GT(steps.size(), floor_spawn + 5u);
            std::vector<int> gaps;
            for (std::size_t i = 1; i < steps.size(); ++i) gaps.push_back(steps[i] - steps[i - 1]);
            EXPECT_EQ(std::vector<int>(gaps.begin(), gaps.begin() + first_gaps.size()), first_gaps);
            // The gap after spawn n is the interval set by spawn n.
            EXPECT_GT(gaps[floor_spawn - 2], 30);
            for (std::size_t i = floor_spawn - 1; i < gaps.size(); ++i) ASSERT_EQ(gaps[i], 30) << "gap " << i;
        }
    }
}

TEST_F(WebCreaturesTest, SpawnerAimsSaucersOnlyAtInteriorIntersectionsThatStillHaveStrings) {
    severAllStrings();
    Spawner idle;
    EXPECT_EQ(runSpawner(idle, 600).count("Saucer"), 0u) << "nothing left to aim at";
    EXPECT_FLOAT_EQ(idle.getSaucerCountdown(), 35.0f * 0.98f) << "the schedule goes on all the same";
    // Left: one anchor string, whose interior end (1, 2) may be aimed at and its border end
    // (0, 2) not, and one string between two interior intersections.
    Web::getInstance().repairConnection(Vector(0, 2), Vector(1, 2));
    Web::getInstance().repairConnection(Vector(3, 3), Vector(4, 3));
    Spawner spawner;
    Targets targets;
    EXPECT_GE(runSpawner(spawner, 40000, &targets).at("Saucer").size(), 30u);
    EXPECT_EQ(targets, (Targets{{1, 2}, {3, 3}, {4, 3}}));
}

TEST_F(WebCreaturesTest, SpawnedSaucerCrashesOnThe121stStepAfterItsCreationCuttingExactlyItsZone) {
    int step = 1;
    const auto iterate = [&] {
        stepWorld(step++);
        // Only the spawner's saucers act: its flies and spiders are taken out again.
        for (bw::Object* object : bw::WorldManager::getInstance().getAllObjects())
            if (object->getType() == "Fly" || object->getType() == "GiantEnemySpider") delete object;
        return countOf("Saucer");
    };
    new Spawner;
    while (iterate() == 0) ASSERT_LE(step, 600);
    auto* saucer = static_cast<Saucer*>(bw::WorldManager::getInstance().objectsOfType("Saucer")[0]);
    const Vector target = saucer->getTarget();
    EXPECT_EQ(countLogLines("Spawned Saucer targetting: " + target.toString()), 1);
    // The warning blinks from the creation on: the twelve strings among the 3 × 3 intersections
    // around the target.
    const std::set<WebString> zone = blinkingStrings();
    EXPECT_EQ(zone.size(), 12u);
    const auto close = [&](int c, int r) { return std::abs(c - target.getX()) <= 1 && std::abs(r - target.getY()) <= 1; };
    std::set<WebString> rest = intactStrings();
    for (const WebString& w : zone) EXPECT_TRUE(close(w.x1, w.y1) && close(w.x2, w.y2) && rest.erase(w)) << w.x1 << w.y1;
    const auto out = [&] { return !bw::boxIntersectsBox(saucer->getWorldBox(), bw::Box(Vector(), 80, 24)); };
    bool seen_above = false;
    for (int after = 1; after <= 120; ++after) {
        ASSERT_EQ(iterate(), 1) << "deleted before its crash, " << after << " steps after creation";
        ASSERT_FALSE(saucer->isCrashed()) << "crashed " << after << " steps after creation";
        seen_above = seen_above || out(); // above: it rises first
    }
    EXPECT_TRUE(seen_above) << "it should have been out above the window, and kept";
    EXPECT_EQ(countIntactStrings(), 58);
    heard.take();
    iterate();
    ASSERT_TRUE(saucer->isCrashed());
    EXPECT_EQ(heard.count("sound saucer-crash"), 1);
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

} // namespace
