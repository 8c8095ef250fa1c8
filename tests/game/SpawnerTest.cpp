#include "Spawner.h"

#include "EventOut.h"
#include "EventStep.h"
#include "GiantEnemySpider.h"
#include "LogManager.h"
#include "Saucer.h"
#include "Web.h"
#include "WorldManager.h"

#include "EnemyTestSupport.h"
#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> KINDS = {"GiantEnemySpider", "Fly", "Saucer"};

/// Steps at which a spawner created objects, per object type, counted as the spawner's
/// step events (the first one is step 1).
using SpawnLog = std::map<std::string, std::vector<int>>;

class SpawnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().startUp();
        ensureGameSprite("enemy-right", "giant-enemy-spider-right.txt", spriteFileText(1, 7, 3, 5));
        ensureGameSprite("enemy-left", "giant-enemy-spider-left.txt", spriteFileText(1, 7, 3, 5));
        ensureGameSprite("enemy-up", "giant-enemy-spider-up.txt", spriteFileText(1, 7, 3, 5));
        ensureGameSprite("enemy-down", "giant-enemy-spider-down.txt", spriteFileText(1, 7, 3, 5));
        ensureGameSprite("fly-intro", "fly-intro-spr.txt", spriteFileText(8, 3, 1, 3));
        ensureGameSprite("fly-twitch", "fly-twitch-spr.txt", spriteFileText(4, 3, 1, 3));
        ensureGameSprite("saucer", "saucer!.txt", spriteFileText(4, 9, 2, 4));
        Web::getInstance().reset();
        std::srand(7);
    }

    /// Sends step events to the spawner alone and takes whatever it created out of the world
    /// again (recording saucer targets), so thousands of steps stay cheap and nothing else acts.
    SpawnLog runSpawner(Spawner& spawner, int steps, std::vector<bw::Vector>* targets = nullptr) {
        SpawnLog spawned;
        bw::WorldManager& world = bw::WorldManager::getInstance();
        for (int step = 1; step <= steps; ++step) {
            const bw::EventStep event(step);
            spawner.eventHandler(&event);
            std::map<std::string, int> this_step;
            for (bw::Object* object : world.getAllObjects()) {
                if (std::find(KINDS.begin(), KINDS.end(), object->getType()) == KINDS.end()) continue;
                ++this_step[object->getType()];
                spawned[object->getType()].push_back(step);
                if (targets && object->getType() == "Saucer") targets->push_back(static_cast<Saucer*>(object)->getTarget());
                delete object;
            }
            for (const auto& [type, count] : this_step)
                EXPECT_EQ(count, 1) << count << " objects of type " << type << " in step " << step;
        }
        return spawned;
    }

    static std::vector<int> gaps(const std::vector<int>& steps) {
        std::vector<int> result;
        for (std::size_t i = 1; i < steps.size(); ++i) result.push_back(steps[i] - steps[i - 1]);
        return result;
    }

    TempWorkDir work_dir;
};

TEST_F(SpawnerTest, StartsWithTheInitialScheduleAndDrawsNothing) {
    Spawner spawner;
    EXPECT_EQ(spawner.getType(), "Spawner");
    EXPECT_EQ(spawner.getSprite(), nullptr);
    EXPECT_EQ(spawner.draw(), 0);
    EXPECT_FLOAT_EQ(spawner.getDecay(), 0.98f);
    EXPECT_FLOAT_EQ(spawner.getMinInterval(), 1.0f);
    EXPECT_FLOAT_EQ(spawner.getSpiderInterval(), 20.0f);
    EXPECT_FLOAT_EQ(spawner.getSpiderCountdown(), 11.0f);
    EXPECT_FLOAT_EQ(spawner.getFlyInterval(), 4.3f);
    EXPECT_FLOAT_EQ(spawner.getFlyCountdown(), 4.3f);
    EXPECT_FLOAT_EQ(spawner.getSaucerInterval(), 35.0f);
    EXPECT_FLOAT_EQ(spawner.getSaucerCountdown(), 20.0f);
}

TEST_F(SpawnerTest, OnlyStepEventsAdvanceTheCountdowns) {
    Spawner spawner;
    const bw::EventOut out;
    EXPECT_EQ(spawner.eventHandler(&out), 0);
    EXPECT_FLOAT_EQ(spawner.getFlyCountdown(), 4.3f);

    const bw::EventStep step(1);
    EXPECT_EQ(spawner.eventHandler(&step), 0);
    EXPECT_FLOAT_EQ(spawner.getFlyCountdown(), 4.3f - 1.0f / 30);
    EXPECT_FLOAT_EQ(spawner.getSpiderCountdown(), 11.0f - 1.0f / 30);
    EXPECT_FLOAT_EQ(spawner.getSaucerCountdown(), 20.0f - 1.0f / 30);
}

TEST_F(SpawnerTest, FirstSpawnsComeOnSteps130And330And600WithNothingBefore) {
    Spawner spawner;
    const SpawnLog spawned = runSpawner(spawner, 600);
    ASSERT_FALSE(spawned.at("Fly").empty());
    EXPECT_EQ(spawned.at("Fly").front(), 130);
    ASSERT_EQ(spawned.at("GiantEnemySpider").size(), 1u);
    EXPECT_EQ(spawned.at("GiantEnemySpider").front(), 330);
    ASSERT_EQ(spawned.at("Saucer").size(), 1u);
    EXPECT_EQ(spawned.at("Saucer").front(), 600);
}

TEST_F(SpawnerTest, GapsShrinkByTwoPercentUntilTheFloorOfThirtySteps) {
    Spawner spawner;
    const SpawnLog spawned = runSpawner(spawner, 60000);

    const std::vector<int> fly = gaps(spawned.at("Fly"));
    const std::vector<int> spider = gaps(spawned.at("GiantEnemySpider"));
    const std::vector<int> saucer = gaps(spawned.at("Saucer"));
    ASSERT_GE(fly.size(), 100u);
    ASSERT_GE(spider.size(), 160u);
    ASSERT_GE(saucer.size(), 180u);
    EXPECT_EQ(std::vector<int>(fly.begin(), fly.begin() + 4), (std::vector<int>{127, 124, 122, 119}));
    EXPECT_EQ(std::vector<int>(spider.begin(), spider.begin() + 3), (std::vector<int>{588, 577, 565}));
    EXPECT_EQ(std::vector<int>(saucer.begin(), saucer.begin() + 3), (std::vector<int>{1030, 1009, 989}));

    // The gap after spawn n is the interval set by spawn n: the floor arrives with the fly's
    // 73rd, the spider's 149th and the saucer's 176th spawn and stays.
    const auto checkFloor = [](const std::vector<int>& kind_gaps, std::size_t floor_spawn, const char* kind) {
        SCOPED_TRACE(kind);
        for (std::size_t i = 0; i + 1 < kind_gaps.size(); ++i) EXPECT_LE(kind_gaps[i + 1], kind_gaps[i]);
        EXPECT_GT(kind_gaps[floor_spawn - 2], 30);
        for (std::size_t i = floor_spawn - 1; i < kind_gaps.size(); ++i) EXPECT_EQ(kind_gaps[i], 30) << "gap " << i;
    };
    checkFloor(fly, 73, "fly");
    checkFloor(spider, 149, "spider");
    checkFloor(saucer, 176, "saucer");

    EXPECT_EQ(spawner.getFlyInterval(), 1.0f);
    EXPECT_EQ(spawner.getSpiderInterval(), 1.0f);
    EXPECT_EQ(spawner.getSaucerInterval(), 1.0f);
}

TEST_F(SpawnerTest, TheFloorIsReachedOnTheSeventyThirdFly) {
    Spawner spawner;
    int flies = 0;
    for (int step = 1; flies < 73; ++step) {
        const float before = spawner.getFlyInterval();
        spawner.spawn();
        if (spawner.getFlyInterval() != before) {
            ++flies;
            if (flies < 73) {
                EXPECT_GT(spawner.getFlyInterval(), 1.0f) << "after fly " << flies;
                EXPECT_FLOAT_EQ(spawner.getFlyInterval(), before * 0.98f);
            }
        }
        ASSERT_LT(step, 20000);
    }
    EXPECT_EQ(spawner.getFlyInterval(), 1.0f);
    EXPECT_EQ(spawner.getFlyCountdown(), 1.0f);
}

TEST_F(SpawnerTest, ANewSpawnerStartsTheRampAfresh) {
    auto* first = new Spawner;
    runSpawner(*first, 3000);
    EXPECT_LT(first->getFlyInterval(), 4.3f);
    EXPECT_LT(first->getSaucerInterval(), 35.0f);
    delete first;

    Spawner second;
    EXPECT_FLOAT_EQ(second.getFlyInterval(), 4.3f);
    EXPECT_FLOAT_EQ(second.getSpiderCountdown(), 11.0f);
    EXPECT_FLOAT_EQ(second.getSaucerCountdown(), 20.0f);
    const SpawnLog spawned = runSpawner(second, 600);
    EXPECT_EQ(spawned.at("Fly").front(), 130);
    EXPECT_EQ(spawned.at("GiantEnemySpider").front(), 330);
    EXPECT_EQ(spawned.at("Saucer").front(), 600);
}

TEST_F(SpawnerTest, SaucersAimOnlyAtInteriorIntersectionsThatStillHaveStrings) {
    // Leave one anchor string, whose interior end (1, 2) is a possible target while its border
    // end (0, 2) is not, and one string between two interior intersections.
    severAllStrings();
    Web& web = Web::getInstance();
    web.repairConnection(bw::Vector(0, 2), bw::Vector(1, 2));
    web.repairConnection(bw::Vector(3, 3), bw::Vector(4, 3));

    Spawner spawner;
    std::vector<bw::Vector> targets;
    runSpawner(spawner, 40000, &targets);
    ASSERT_GE(targets.size(), 30u);
    std::map<std::pair<float, float>, int> seen;
    for (const bw::Vector target : targets) ++seen[{target.getX(), target.getY()}];
    const std::map<std::pair<float, float>, int> allowed = {{{1, 2}, 0}, {{3, 3}, 0}, {{4, 3}, 0}};
    for (const auto& [target, count] : seen)
        EXPECT_TRUE(allowed.count(target)) << "aimed at (" << target.first << ", " << target.second << ")";
    EXPECT_EQ(seen.size(), 3u) << "every remaining target should come up in 30 and more saucers";
}

TEST_F(SpawnerTest, SkipsTheSaucerButKeepsItsScheduleWhenNoInteriorStringIsLeft) {
    severAllStrings();
    Spawner spawner;
    const SpawnLog spawned = runSpawner(spawner, 600);
    EXPECT_EQ(spawned.count("Saucer"), 0u);
    EXPECT_FLOAT_EQ(spawner.getSaucerCountdown(), 35.0f * 0.98f);
    EXPECT_FALSE(logHasLineStartingWith("Spawned Saucer"));
}

TEST_F(SpawnerTest, LogsEachSaucerWithItsTargetAndTheOthersOnlyInDetail) {
    bw::LogManager::getInstance().setLogLevel(3);
    Spawner spawner;
    std::vector<bw::Vector> targets;
    runSpawner(spawner, 600, &targets);
    ASSERT_EQ(targets.size(), 1u);
    char expected[80];
    std::snprintf(expected, sizeof expected, "Spawned Saucer targetting: (%f, %f)", targets[0].getX(),
                  targets[0].getY());
    EXPECT_EQ(countLogLines(expected), 1);
    EXPECT_EQ(countLogLines("Spawned Spider"), 1);
    EXPECT_EQ(countLogLines("Spawned Fly"), 4);

    // At the game's log level only the saucer line is written.
    restartLogForResourceTest();
    bw::LogManager::getInstance().setLogLevel(1);
    Spawner quiet;
    targets.clear();
    runSpawner(quiet, 600, &targets);
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(countLogLines("Spawned Spider"), 0);
    EXPECT_EQ(countLogLines("Spawned Fly"), 0);
    EXPECT_TRUE(logHasLineStartingWith("Spawned Saucer targetting: ("));
}

} // namespace
