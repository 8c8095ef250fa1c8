// The spawner's three shrinking timers: when the first spider, fly and saucer come, how the
// gaps shrink to the floor, and where saucers are aimed.
#include "Spawner.h"

#include "EventStep.h"
#include "Saucer.h"

#include "WebPlayTestSupport.h"

/// Steps at which a spawner created objects, per object type, counted as the spawner's step
/// events (the first one is step 1).
using SpawnLog = std::map<std::string, std::vector<int>>;
using Targets = std::set<std::pair<float, float>>;

class SpawnerTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadEnemySprites();
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

TEST_F(SpawnerTest, FirstSpawnsOn130And330And600ThenGapsShrinkToThirtyStepsAndANewSpawnerStartsAfresh) {
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

TEST_F(SpawnerTest, SaucersAimOnlyAtInteriorIntersectionsThatStillHaveStrings) {
    severAllStrings();
    Spawner idle;
    EXPECT_EQ(runSpawner(idle, 600).count("Saucer"), 0u) << "nothing left to aim at";
    EXPECT_FLOAT_EQ(idle.getSaucerCountdown(), 35.0f * 0.98f) << "the schedule goes on all the same";
    // Left: one anchor string, whose interior end (1, 2) may be aimed at and its border end
    // (0, 2) not, and one string between two interior intersections.
    Web::getInstance().repairConnection(bw::Vector(0, 2), bw::Vector(1, 2));
    Web::getInstance().repairConnection(bw::Vector(3, 3), bw::Vector(4, 3));
    Spawner spawner;
    Targets targets;
    EXPECT_GE(runSpawner(spawner, 40000, &targets).at("Saucer").size(), 30u);
    EXPECT_EQ(targets, (Targets{{1, 2}, {3, 3}, {4, 3}}));
}
