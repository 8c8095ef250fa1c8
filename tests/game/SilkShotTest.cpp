// The silk shot: flies straight across the web, restoring each cut string ahead of the
// intersections it passes and scoring hits on giant enemy spiders, with growing points.
#include "SilkShot.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "ScoreCounter.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using bw::Vector;

namespace {

const bw::Color WHITE(255, 255, 255, 1.0f);
const bw::Color KILL_COLOR(242, 66, 54, 1.0f); // 0xF24236

std::string spriteLabel(const bw::Object* object) {
    return object->getSprite() ? object->getSprite()->getLabel() : std::string("(none)");
}

class SilkShotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { loadWebPlaySprites(); }

    void SetUp() override {
        log.shutDown();
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        world.startUp();
        web().reset();
        ScoreCounter::getInstance().reset();
    }
    void TearDown() override {
        world.shutDown();
        log.shutDown();
    }

    static Web& web() { return Web::getInstance(); }
    static int score() { return ScoreCounter::getInstance().getScore(); }
    Vector at(float column, float row) const { return web().webToWorld(Vector(column, row)); }

    /// A shot as the spider fires it: bit is its direction, start a world position just past
    /// the border intersection it bounced at.
    SilkShot* fire(std::uint32_t bit, Vector start) {
        auto* shot = new SilkShot(bit);
        shot->setPosition(start);
        return shot;
    }

    /// Runs iterations until the shot has left the world (deleted after going out), collecting
    /// the pop-ups as they appear (repairs come from the step, kills from the update's
    /// collisions) and the step of each. Returns the iterations run, -1 if it never left.
    int flyOut(std::vector<PopUpSighting>& seen, std::vector<int>* steps = nullptr) {
        const auto collect = [&](int step) {
            for (const PopUpSighting& popup : watcher.newPopUps()) {
                seen.push_back(popup);
                if (steps) steps->push_back(step);
            }
        };
        for (int i = 0; i < 200; ++i) {
            broadcastStep(i);
            collect(i);
            world.update();
            collect(i);
            if (world.objectsOfType("SilkShot").isEmpty()) return i + 1;
        }
        return -1;
    }

    static int warnings() {
        int count = 0;
        for (const std::string& line : readLogLines())
            if (line.rfind("WARNING:", 0) == 0) ++count;
        return count;
    }

    PopUpWatcher watcher;
    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::WorldManager& world = bw::WorldManager::getInstance();
};

// --- Construction ----------------------------------------------------------------------------

TEST_F(SilkShotTest, DirectionBitSetsFlightAndSprite) {
    struct Case {
        std::uint32_t bit;
        Vector direction;
        const char* sprite;
    };
    const Case cases[] = {{UP, Vector(0, -1), "silk-shot-up"},
                          {RIGHT, Vector(1, 0), "silk-shot-right"},
                          {DOWN, Vector(0, 1), "silk-shot-down"},
                          {LEFT, Vector(-1, 0), "silk-shot-left"}};
    for (const Case& c : cases) {
        SilkShot shot(c.bit);
        EXPECT_EQ(shot.getType(), "SilkShot");
        EXPECT_EQ(shot.getDirection(), c.direction) << c.sprite;
        EXPECT_FLOAT_EQ(shot.getSpeed(), 2.0f);
        EXPECT_EQ(shot.getAltitude(), 2);
        EXPECT_EQ(shot.getSolidness(), bw::PASSABLE);
        EXPECT_EQ(spriteLabel(&shot), c.sprite);
        const bw::Sprite* sprite = shot.getSprite();
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(shot.getBox().getHorizontal(), sprite->getWidth()) << "box fitted to the sprite";
        EXPECT_EQ(shot.getBox().getVertical(), sprite->getHeight());
        EXPECT_EQ(shot.getRepairs(), 0);
        EXPECT_EQ(shot.getKills(), 0);
    }
}

TEST_F(SilkShotTest, OtherBitsSetNoSprite) {
    SilkShot none(0);
    EXPECT_EQ(none.getSprite(), nullptr);
    EXPECT_EQ(none.getDirection(), Vector(0, 0));
    SilkShot two(UP | LEFT);
    EXPECT_EQ(two.getSprite(), nullptr);
    EXPECT_EQ(two.getDirection(), Vector(-1, -1));
}

// --- Repairs ---------------------------------------------------------------------------------

TEST_F(SilkShotTest, ShotAcrossAnIntactRowScoresNothing) {
    fire(RIGHT, at(0, 2) - Vector(0.3f, 0));
    std::vector<PopUpSighting> seen;
    ASSERT_GT(flyOut(seen), 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(score(), 0);
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(web().getConnections(Vector(7, 2)), static_cast<std::uint32_t>(LEFT))
        << "no string end pointing out of the window";
    EXPECT_EQ(warnings(), 0);
}

TEST_F(SilkShotTest, RepairsTheSecondAndFifthStringsForTwoHundredThenThreeHundred) {
    web().severConnection(Vector(1, 2), Vector(2, 2));
    web().severConnection(Vector(4, 2), Vector(5, 2));
    SilkShot* shot = fire(RIGHT, at(0, 2) - Vector(0.3f, 0));
    PopUpWatcher watcher;
    std::vector<PopUpSighting> seen;
    for (int i = 0; i < 60 && seen.size() < 2; ++i) {
        broadcastStep(i);
        for (const PopUpSighting& popup : watcher.newPopUps()) seen.push_back(popup);
        world.update();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "200");
    EXPECT_EQ(seen[0].position, at(1.5f, 2)) << "middle of the repaired string";
    EXPECT_EQ(seen[0].color, WHITE);
    EXPECT_EQ(seen[1].text, "300");
    EXPECT_EQ(seen[1].position, at(4.5f, 2));
    EXPECT_EQ(seen[1].color, WHITE);
    EXPECT_EQ(score(), 500);
    EXPECT_EQ(shot->getRepairs(), 2);
    EXPECT_EQ(countIntactStrings(), 58);
}

TEST_F(SilkShotTest, PointsGrowByAHundredWithEveryRepairOfTheSameShot) {
    for (int column = 0; column < 7; ++column)
        web().severConnection(Vector(column, 3), Vector(column + 1, 3));
    fire(LEFT, at(7, 3) + Vector(0.3f, 0));
    std::vector<PopUpSighting> seen;
    std::vector<int> steps;
    ASSERT_GT(flyOut(seen, &steps), 0);
    ASSERT_EQ(seen.size(), 7u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].text, std::to_string(200 + 100 * static_cast<int>(i)));
        EXPECT_EQ(seen[i].position, at(6.5f - static_cast<float>(i), 3)) << i;
    }
    EXPECT_EQ(score(), 200 + 300 + 400 + 500 + 600 + 700 + 800);
    EXPECT_EQ(countIntactStrings(), 58);
    // An intersection about every six steps.
    for (std::size_t i = 1; i < steps.size(); ++i) {
        EXPECT_GE(steps[i] - steps[i - 1], 5) << i;
        EXPECT_LE(steps[i] - steps[i - 1], 6) << i;
    }
    EXPECT_EQ(web().getConnections(Vector(0, 3)), static_cast<std::uint32_t>(RIGHT));
    EXPECT_EQ(warnings(), 0);
}

TEST_F(SilkShotTest, VerticalShotOnColumnThreeRepairsAtTheStringMiddles) {
    web().severConnection(Vector(3, 4), Vector(3, 3));
    web().severConnection(Vector(3, 1), Vector(3, 0));
    fire(UP, at(3, 5) + Vector(0, 0.2f));
    std::vector<PopUpSighting> seen;
    std::vector<int> steps;
    ASSERT_GT(flyOut(seen, &steps), 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "200");
    EXPECT_NEAR(seen[0].position.getX(), at(3, 3.5f).getX(), 1e-4f);
    EXPECT_NEAR(seen[0].position.getY(), at(3, 3.5f).getY(), 1e-4f);
    EXPECT_EQ(seen[1].text, "300");
    EXPECT_NEAR(seen[1].position.getX(), at(3, 0.5f).getX(), 1e-4f);
    EXPECT_NEAR(seen[1].position.getY(), at(3, 0.5f).getY(), 1e-4f);
    // Passed (3, 4) first and (3, 1) three intersections later, about six steps apart each.
    EXPECT_GE(steps[1] - steps[0], 3 * 5);
    EXPECT_LE(steps[1] - steps[0], 3 * 7);
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(web().getConnections(Vector(3, 0)), static_cast<std::uint32_t>(DOWN));
}

TEST_F(SilkShotTest, FirstCrossingIsTheBorderIntersectionItStartedBeside) {
    // The anchor string of row 1 is the first one a shot from the left restores.
    web().severConnection(Vector(0, 1), Vector(1, 1));
    SilkShot* shot = fire(RIGHT, at(0, 1) - Vector(0.2f, 0));
    std::vector<PopUpSighting> seen;
    PopUpWatcher watcher;
    for (int i = 0; i < 3; ++i) {
        broadcastStep(i);
        for (const PopUpSighting& popup : watcher.newPopUps()) seen.push_back(popup);
        world.update();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].position, at(0.5f, 1));
    EXPECT_EQ(shot->getRepairs(), 1);
}

TEST_F(SilkShotTest, NewShotStartsCountingAgain) {
    web().severConnection(Vector(2, 1), Vector(3, 1));
    web().severConnection(Vector(2, 4), Vector(3, 4));
    fire(RIGHT, at(0, 1) - Vector(0.3f, 0));
    std::vector<PopUpSighting> first;
    ASSERT_GT(flyOut(first), 0);
    fire(RIGHT, at(0, 4) - Vector(0.3f, 0));
    std::vector<PopUpSighting> second;
    ASSERT_GT(flyOut(second), 0);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0].text, "200");
    EXPECT_EQ(second[0].text, "200");
    EXPECT_EQ(score(), 400);
}

// --- Kills -----------------------------------------------------------------------------------

TEST_F(SilkShotTest, KillsScoreTwoFiftyFourHundredFiveFiftyAtTheSpider) {
    SilkShot shot(RIGHT);
    bw::Object spiders[3];
    const Vector places[] = {Vector(20, 5), Vector(30, 10), Vector(40, 15)};
    PopUpWatcher watcher;
    for (int i = 0; i < 3; ++i) {
        spiders[i].setType("GiantEnemySpider");
        spiders[i].setPosition(places[i]);
        // The spider may be either object of the event.
        const bw::EventCollision hit = i == 1 ? bw::EventCollision(&spiders[i], &shot, Vector())
                                              : bw::EventCollision(&shot, &spiders[i], Vector());
        EXPECT_EQ(shot.eventHandler(&hit), 1);
        EXPECT_EQ(shot.getKills(), i + 1);
        const std::vector<PopUpSighting> seen = watcher.newPopUps();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, std::to_string(250 + 150 * i));
        EXPECT_EQ(seen[0].position, places[i]);
        EXPECT_EQ(seen[0].color, KILL_COLOR);
    }
    EXPECT_EQ(score(), 250 + 400 + 550);
}

TEST_F(SilkShotTest, CollisionsWithAnythingButAGiantEnemySpiderAreIgnored) {
    SilkShot shot(UP);
    for (const char* type : {"Player", "Fly", "Saucer", "SilkShot", "giantenemyspider"}) {
        bw::Object other;
        other.setType(type);
        const bw::EventCollision first(&other, &shot, Vector());
        const bw::EventCollision second(&shot, &other, Vector());
        EXPECT_EQ(shot.eventHandler(&first), 0) << type;
        EXPECT_EQ(shot.eventHandler(&second), 0) << type;
    }
    EXPECT_EQ(shot.getKills(), 0);
    EXPECT_EQ(score(), 0);
    EXPECT_TRUE(world.objectsOfType("PopUp").isEmpty());
}

TEST_F(SilkShotTest, ShotFliesOnThroughASpiderInItsPath) {
    auto* spider = new bw::Object;
    spider->setType("GiantEnemySpider");
    spider->setSolidness(bw::PASSABLE);
    spider->setBox(bw::Box(Vector(-1.5f, -1), 3, 2));
    spider->setPosition(at(2.5f, 2));
    SilkShot* shot = fire(RIGHT, at(0, 2) - Vector(0.3f, 0));
    std::vector<PopUpSighting> seen;
    ASSERT_GT(flyOut(seen), 0) << "still leaves the window";
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].text, "250");
    EXPECT_EQ(seen[0].position, at(2.5f, 2));
    EXPECT_EQ(seen[0].color, KILL_COLOR);
    (void)shot; // deleted after leaving the window
}

// --- Leaving ---------------------------------------------------------------------------------

TEST_F(SilkShotTest, OutEventDeletesTheShot) {
    SilkShot* shot = fire(DOWN, at(4, 2));
    const bw::EventOut out;
    EXPECT_EQ(shot->eventHandler(&out), 0);
    EXPECT_EQ(world.objectsOfType("SilkShot").getCount(), 1) << "deleted at the next update";
    world.update();
    EXPECT_TRUE(world.objectsOfType("SilkShot").isEmpty());
}

TEST_F(SilkShotTest, StepWithoutAnIntersectionPassedStillCountsAsHandled) {
    SilkShot* shot = fire(LEFT, at(4.5f, 2));
    const bw::EventStep step(0);
    EXPECT_EQ(shot->eventHandler(&step), 1);
    const bw::Event other;
    EXPECT_EQ(shot->eventHandler(&other), 0);
}

} // namespace
