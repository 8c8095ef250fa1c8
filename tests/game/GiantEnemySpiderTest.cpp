#include "GiantEnemySpider.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "EnemyTestSupport.h"
#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <utility>

namespace {

using namespace std::chrono_literals;

const bw::Vector TOP_ANCHOR(4, 0);
const bw::Vector FIRST_STOP(4, 1);

/// The string bit of a unit offset.
std::uint32_t bitFor(bw::Vector offset) {
    if (offset.getY() < 0) return UP;
    if (offset.getX() > 0) return RIGHT;
    if (offset.getY() > 0) return DOWN;
    return LEFT;
}

int spidersInWorld() { return bw::WorldManager::getInstance().objectsOfType("GiantEnemySpider").getCount(); }

std::string spriteLabel(const bw::Object& object) {
    return object.getSprite() ? object.getSprite()->getLabel() : std::string("(none)");
}

/// Cuts every anchor string except the one of anchor, so a new spider must enter there.
void leaveOnlyAnchor(bw::Vector anchor) {
    Web& web = Web::getInstance();
    for (int x = 0; x < Web::COLUMNS; ++x) {
        for (int y = 0; y < Web::ROWS; ++y) {
            const bw::Vector c(x, y);
            if (!web.isEdge(c) || c == anchor) continue;
            severAround(c);
        }
    }
}

/// What a decision made in the given calendar second draws: whether it walks (first number
/// below 50) and the order in which it considers the four strings.
struct Draws {
    bool walk = false;
    std::uint32_t order[4] = {UP, RIGHT, DOWN, LEFT};

    explicit Draws(std::time_t second) {
        std::srand(static_cast<unsigned>(second));
        walk = std::rand() % 100 < 50;
        std::swap(order[3], order[std::rand() % 4]);
        std::swap(order[2], order[std::rand() % 3]);
        std::swap(order[1], order[std::rand() % 2]);
    }

    int rank(std::uint32_t direction) const {
        for (int i = 0; i < 4; ++i)
            if (order[i] == direction) return i;
        return -1;
    }
};

/// Waits until the current calendar second is one whose decisions draw what wanted accepts,
/// with time to spare in it. Decisions re-seed with the calendar second, so this is the one way
/// to steer a decision from outside.
template <typename Wanted> bool waitForSecondWhose(Wanted wanted) {
    for (int attempt = 0; attempt < 60; ++attempt) {
        const auto now = std::chrono::system_clock::now();
        const std::time_t second = std::chrono::system_clock::to_time_t(now);
        const auto into = now - std::chrono::system_clock::from_time_t(second);
        if (wanted(Draws(second)) && into > 20ms && into < 700ms && std::time(nullptr) == second) return true;
        std::this_thread::sleep_until(std::chrono::system_clock::from_time_t(second + 1) + 30ms);
    }
    return false;
}

bool waitForSecondThatDraws(bool walk) {
    return waitForSecondWhose([walk](const Draws& draws) { return draws.walk == walk; });
}

class GiantEnemySpiderTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        bw::WorldManager::getInstance().startUp();
        for (const std::string side : {"right", "left", "up", "down"})
            ensureGameSprite("enemy-" + side, "giant-enemy-spider-" + side + ".txt", spriteFileText(4, 7, 3, 5));
        ASSERT_TRUE(prepareToneSound("enemy-spawn"));
        ASSERT_TRUE(prepareToneSound("enemy-sever"));
        Web::getInstance().reset();
        std::srand(5);
    }

    void step() { runLoopStep(step_count++); }

    /// A spider that entered through the top anchor (4, 0) and has just stopped at (4, 1).
    GiantEnemySpider* spiderStoppedAtFirstIntersection() {
        leaveOnlyAnchor(TOP_ANCHOR);
        auto* spider = new GiantEnemySpider;
        for (int i = 0; i < 200 && spider->getState() == WALKING; ++i) step();
        EXPECT_EQ(spider->getState(), WAITING);
        EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP);
        return spider;
    }

    /// The same spider with one step left before its decision.
    GiantEnemySpider* spiderAboutToDecide() {
        GiantEnemySpider* spider = spiderStoppedAtFirstIntersection();
        for (int i = 0; i < 14; ++i) step();
        EXPECT_EQ(spider->getTimer(), 1);
        return spider;
    }

    /// A spider that has just started to cut one of the strings at (4, 1).
    GiantEnemySpider* spiderSevering() {
        GiantEnemySpider* spider = spiderAboutToDecide();
        EXPECT_TRUE(waitForSecondThatDraws(false)) << "no second chose to cut within a minute";
        step();
        EXPECT_EQ(spider->getState(), SEVERING);
        return spider;
    }

    int step_count = 1;
    TempWorkDir work_dir;
};

TEST_F(GiantEnemySpiderTest, EntersFromOutsideTheWindowTowardsItsAnchor) {
    leaveOnlyAnchor(TOP_ANCHOR);
    GiantEnemySpider spider;
    EXPECT_EQ(spider.getType(), "GiantEnemySpider");
    EXPECT_EQ(spider.getCurrentIntersection(), TOP_ANCHOR);
    EXPECT_EQ(spider.getPosition(), Web::getInstance().webToWorld(bw::Vector(4, -1)));
    EXPECT_EQ(spider.getVelocity(), bw::Vector(0, 0.2f));
    EXPECT_EQ(spider.getState(), WALKING);
    EXPECT_EQ(spider.getHeading(), bw::Vector(1, 0));
    EXPECT_EQ(spider.getTimer(), 0);
    EXPECT_EQ(spider.getSolidness(), bw::PASSABLE);
    EXPECT_EQ(spider.getAltitude(), 1);
    EXPECT_EQ(spriteLabel(spider), "enemy-down");
    EXPECT_TRUE(isSoundPlaying("enemy-spawn"));
}

TEST_F(GiantEnemySpiderTest, EntersFromEachSideFacingIntoTheWeb) {
    struct Side {
        bw::Vector anchor;
        bw::Vector start;
        const char* sprite;
    };
    for (const Side& side : {Side{{0, 2}, {-1, 2}, "enemy-right"}, Side{{7, 3}, {8, 3}, "enemy-left"},
                             Side{{5, 5}, {5, 6}, "enemy-up"}, Side{{2, 0}, {2, -1}, "enemy-down"}}) {
        SCOPED_TRACE(side.sprite);
        Web::getInstance().reset();
        leaveOnlyAnchor(side.anchor);
        GiantEnemySpider spider;
        EXPECT_EQ(spider.getCurrentIntersection(), side.anchor);
        EXPECT_EQ(spider.getPosition(), Web::getInstance().webToWorld(side.start));
        EXPECT_EQ(spriteLabel(spider), side.sprite);
    }
}

TEST_F(GiantEnemySpiderTest, PassesItsAnchorAndStopsJustPastTheFirstInteriorIntersection) {
    leaveOnlyAnchor(TOP_ANCHOR);
    auto* spider = new GiantEnemySpider;
    const bw::Vector stop = Web::getInstance().webToWorld(FIRST_STOP);
    int steps = 0;
    bool passed_anchor = false;
    while (spider->getState() == WALKING) {
        ASSERT_LT(steps, 200);
        step();
        ++steps;
        EXPECT_FLOAT_EQ(spider->getPosition().getX(), stop.getX());
        passed_anchor = passed_anchor || spider->getPosition().getY() > 0;
        if (spider->getState() == WALKING) {
            EXPECT_GT(spider->getSpeed(), 0);
        }
    }
    EXPECT_TRUE(passed_anchor);
    EXPECT_EQ(spider->getState(), WAITING);
    EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP);
    EXPECT_EQ(spider->getSpeed(), 0);
    EXPECT_EQ(spider->getTimer(), 15);
    // Two spacings of 4.8 cells at 0.2 × 0.4 cells a step.
    EXPECT_GE(steps, 120);
    EXPECT_LE(steps, 123);
    EXPECT_GT(spider->getPosition().getY(), stop.getY());
    EXPECT_LE(spider->getPosition().getY() - stop.getY(), 0.08f + 1e-4f) << "it stops within a step of the junction";
}

TEST_F(GiantEnemySpiderTest, DecidesFifteenStepsAfterStopping) {
    GiantEnemySpider* spider = spiderStoppedAtFirstIntersection();
    const bw::Vector where = spider->getPosition();
    for (int i = 1; i <= 14; ++i) {
        step();
        EXPECT_EQ(spider->getState(), WAITING) << "step " << i;
        EXPECT_EQ(spider->getTimer(), 15 - i);
        EXPECT_EQ(spider->getPosition(), where);
    }
    step();
    EXPECT_NE(spider->getState(), WAITING);
}

TEST_F(GiantEnemySpiderTest, ACutStringBlinksForThirtyStepsThenGoesAndTheSpiderDecidesFifteenStepsLater) {
    GiantEnemySpider* spider = spiderSevering();
    const bw::Vector heading = spider->getHeading();
    ASSERT_EQ(std::fabs(heading.getX()) + std::fabs(heading.getY()), 1.0f) << "heading " << heading.toString();
    const bw::Vector other_end = FIRST_STOP + heading;
    const WebString cut = heading.getX() + heading.getY() > 0
                              ? WebString{4, 1, static_cast<int>(other_end.getX()), static_cast<int>(other_end.getY())}
                              : WebString{static_cast<int>(other_end.getX()), static_cast<int>(other_end.getY()), 4, 1};
    const std::set<WebString> before = intactStrings();
    ASSERT_TRUE(before.count(cut));
    EXPECT_EQ(blinkingStrings(), std::set<WebString>{cut});
    EXPECT_EQ(spider->getTimer(), 30);
    EXPECT_EQ(spider->getSpeed(), 0);
    EXPECT_EQ(spider->getDirection(), heading);
    EXPECT_TRUE(isSoundPlaying("enemy-sever"));

    for (int i = 1; i <= 29; ++i) {
        step();
        ASSERT_EQ(spider->getState(), SEVERING) << "step " << i;
        EXPECT_EQ(intactStrings(), before) << "step " << i;
        EXPECT_EQ(blinkingStrings(), std::set<WebString>{cut});
    }
    step();
    EXPECT_EQ(spider->getState(), WAITING);
    EXPECT_EQ(spider->getTimer(), 15);
    std::set<WebString> expected = before;
    expected.erase(cut);
    EXPECT_EQ(intactStrings(), expected);
    EXPECT_EQ(Web::getInstance().getConnections(FIRST_STOP), (UP | RIGHT | DOWN | LEFT) & ~bitFor(heading));
    EXPECT_EQ(Web::getInstance().getConnections(other_end) & bitFor(bw::Vector(-heading.getX(), -heading.getY())), 0u);
    EXPECT_TRUE(blinkingStrings().empty());
    EXPECT_EQ(Web::getInstance().getFlashing(FIRST_STOP), 0u);
    EXPECT_EQ(Web::getInstance().getFlashing(other_end), 0u);

    for (int i = 1; i <= 14; ++i) {
        step();
        EXPECT_EQ(spider->getState(), WAITING) << "step " << i;
    }
    step();
    EXPECT_NE(spider->getState(), WAITING);
}

TEST_F(GiantEnemySpiderTest, WithTwoStringsLeftItWalksEvenWhenTheDrawSaysCut) {
    GiantEnemySpider* spider = spiderAboutToDecide();
    Web& web = Web::getInstance();
    web.severConnection(FIRST_STOP, FIRST_STOP + bw::Vector(1, 0));
    web.severConnection(FIRST_STOP, FIRST_STOP + bw::Vector(-1, 0));
    const std::set<WebString> before = intactStrings();
    ASSERT_TRUE(waitForSecondThatDraws(false));
    step();
    EXPECT_EQ(spider->getState(), WALKING);
    EXPECT_TRUE(blinkingStrings().empty());
    // Up leads to the border, so of the two it takes the string down to (4, 2).
    EXPECT_EQ(spider->getHeading(), bw::Vector(0, 1));
    EXPECT_EQ(spider->getVelocity(), bw::Vector(0, 0.2f));
    EXPECT_EQ(spriteLabel(*spider), "enemy-down");
    EXPECT_EQ(spider->getPosition().getX(), web.webToWorld(FIRST_STOP).getX());
    for (int i = 0; i < 40; ++i) step();
    EXPECT_EQ(intactStrings(), before);
}

TEST_F(GiantEnemySpiderTest, AWalkingSpiderAvoidsGoingBackWhenItHasAnotherWay) {
    GiantEnemySpider* spider = spiderAboutToDecide();
    // Before its first decision "back" is to the left. Left and down both lead inwards; even
    // when left comes first in the random order it goes down.
    Web& web = Web::getInstance();
    web.severConnection(FIRST_STOP, FIRST_STOP + bw::Vector(0, -1));
    web.severConnection(FIRST_STOP, FIRST_STOP + bw::Vector(1, 0));
    ASSERT_TRUE(waitForSecondWhose([](const Draws& draws) { return draws.rank(LEFT) < draws.rank(DOWN); }));
    step();
    EXPECT_EQ(spider->getState(), WALKING);
    EXPECT_EQ(spider->getHeading(), bw::Vector(0, 1));
}

TEST_F(GiantEnemySpiderTest, AWalkingSpiderTurnsBackAtTheBorderWithoutWaiting) {
    GiantEnemySpider* spider = spiderAboutToDecide();
    Web& web = Web::getInstance();
    for (const bw::Vector offset : {bw::Vector(1, 0), bw::Vector(0, 1), bw::Vector(-1, 0)})
        web.severConnection(FIRST_STOP, FIRST_STOP + offset);
    step();
    ASSERT_EQ(spider->getState(), WALKING);
    EXPECT_EQ(spider->getHeading(), bw::Vector(0, -1)) << "the only string left";
    EXPECT_EQ(spriteLabel(*spider), "enemy-up");

    float highest = spider->getPosition().getY();
    bool turned = false;
    int steps = 0;
    while (spider->getState() == WALKING) {
        ASSERT_LT(steps++, 400);
        const float vy = spider->getVelocity().getY();
        const float y = spider->getPosition().getY();
        step();
        highest = std::min(highest, spider->getPosition().getY());
        if (vy < 0 && spider->getVelocity().getY() > 0) {
            EXPECT_FALSE(turned) << "turned twice";
            turned = true;
            EXPECT_LT(y, 0.0f) << "turns only once past the anchor";
            EXPECT_EQ(spriteLabel(*spider), "enemy-down");
        }
        if (spider->getState() == WALKING) {
            EXPECT_GT(spider->getSpeed(), 0.0f) << "never waits on the border";
        }
    }
    EXPECT_TRUE(turned);
    EXPECT_GE(highest, -0.08f - 1e-4f);
    EXPECT_EQ(spider->getState(), WAITING);
    EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP);
}

TEST_F(GiantEnemySpiderTest, WithEveryStringCutItWaitsAndRetriesEveryFifteenSteps) {
    GiantEnemySpider* spider = spiderAboutToDecide();
    severAround(FIRST_STOP);
    for (int round = 0; round < 3; ++round) {
        step();
        EXPECT_EQ(spider->getState(), WAITING);
        EXPECT_EQ(spider->getTimer(), 15) << "a fresh wait after the failed decision";
        EXPECT_EQ(spider->getSpeed(), 0);
        for (int i = 0; i < 14; ++i) step();
        EXPECT_EQ(spider->getTimer(), 1);
    }
    Web::getInstance().repairConnection(FIRST_STOP, FIRST_STOP + bw::Vector(1, 0));
    step();
    EXPECT_EQ(spider->getState(), WALKING);
    EXPECT_EQ(spider->getHeading(), bw::Vector(1, 0));
    EXPECT_EQ(spider->getPosition().getY(), Web::getInstance().webToWorld(FIRST_STOP).getY()) << "back on the string";
}

TEST_F(GiantEnemySpiderTest, EveryDecisionReseedsWithTheCalendarSecond) {
    GiantEnemySpider* spider = spiderAboutToDecide();
    // With nothing left at the intersection a decision draws one number only.
    severAround(FIRST_STOP);
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::srand(424242);
        const std::time_t before = std::time(nullptr);
        step();
        const int next = std::rand();
        const std::time_t after = std::time(nullptr);
        if (before != after) {
            for (int i = 0; i < 14; ++i) step();
            continue;
        }
        std::srand(static_cast<unsigned>(before));
        std::rand();
        EXPECT_EQ(next, std::rand());
        EXPECT_EQ(spider->getState(), WAITING);
        return;
    }
    FAIL() << "the calendar second kept changing during the decision";
}

TEST_F(GiantEnemySpiderTest, KilledWhileSeveringLeavesTheStringIntactAndStopsTheBlinking) {
    GiantEnemySpider* spider = spiderSevering();
    const std::set<WebString> before = intactStrings();
    for (int i = 0; i < 10; ++i) step();
    bw::Object shot;
    shot.setType("SilkShot");
    const bw::EventCollision hit(&shot, spider, spider->getPosition());
    spider->eventHandler(&hit);
    EXPECT_EQ(spider->getState(), DYING);
    EXPECT_TRUE(blinkingStrings().empty());
    for (int i = 0; i < 40 && spidersInWorld() == 1; ++i) step();
    EXPECT_EQ(intactStrings(), before);
}

TEST_F(GiantEnemySpiderTest, ASaucerOrASilkShotInEitherSlotKillsIt) {
    for (const char* killer : {"Saucer", "SilkShot"}) {
        for (const bool killer_first : {true, false}) {
            SCOPED_TRACE(std::string(killer) + (killer_first ? " as object 1" : " as object 2"));
            Web::getInstance().reset();
            leaveOnlyAnchor(TOP_ANCHOR);
            GiantEnemySpider spider;
            bw::Object other;
            other.setType(killer);
            const bw::EventCollision hit(killer_first ? &other : static_cast<bw::Object*>(&spider),
                                         killer_first ? static_cast<bw::Object*>(&spider) : &other,
                                         spider.getPosition());
            EXPECT_EQ(spider.eventHandler(&hit), 0);
            EXPECT_EQ(spider.getState(), DYING);
            EXPECT_EQ(spider.getSolidness(), bw::INTANGIBLE);
            EXPECT_EQ(spider.getAltitude(), 3);
            const bw::Vector velocity = spider.getVelocity();
            EXPECT_FLOAT_EQ(velocity.getY(), -1.0f);
            EXPECT_GE(std::fabs(velocity.getX()), 0.5f - 1e-6f);
            EXPECT_LE(std::fabs(velocity.getX()), 1.2425f + 1e-6f);

            // Already dying: another hit changes nothing.
            spider.eventHandler(&hit);
            EXPECT_EQ(spider.getVelocity(), velocity);
        }
    }
}

TEST_F(GiantEnemySpiderTest, ThePlayerAndFliesDoNotHurtIt) {
    leaveOnlyAnchor(TOP_ANCHOR);
    GiantEnemySpider spider;
    for (const char* type : {"Player", "Fly", "GiantEnemySpider", "saucer"}) {
        bw::Object other;
        other.setType(type);
        const bw::EventCollision hit(&other, &spider, spider.getPosition());
        const bw::EventCollision reverse(&spider, &other, spider.getPosition());
        spider.eventHandler(&hit);
        spider.eventHandler(&reverse);
        EXPECT_EQ(spider.getState(), WALKING) << type;
    }
}

TEST_F(GiantEnemySpiderTest, ADyingSpiderRisesThenFallsOutOfTheWindowAndIsDeleted) {
    GiantEnemySpider* spider = spiderStoppedAtFirstIntersection();
    bw::Object saucer;
    saucer.setType("Saucer");
    const bw::EventCollision hit(&saucer, spider, spider->getPosition());
    spider->eventHandler(&hit);
    const float start_y = spider->getPosition().getY();

    int turned_at = 0;
    bool was_out = false;
    for (int i = 1; spidersInWorld() == 1; ++i) {
        ASSERT_LT(i, 300) << "never left the window";
        const bw::Vector p = spider->getPosition();
        const float half_w = spider->getBox().getHorizontal() / 2;
        const float half_h = spider->getBox().getVertical() / 2;
        was_out = p.getX() - half_w > 80 || p.getX() + half_w < 0 || p.getY() - half_h > 24 || p.getY() + half_h < 0;
        const float vy_before = spider->getVelocity().getY();
        step();
        if (spidersInWorld() == 0) break;
        EXPECT_NEAR(spider->getVelocity().getY(), vy_before + 0.1f, 1e-5) << "step " << i;
        const std::string sprite = spriteLabel(*spider);
        if (turned_at == 0 && sprite == "enemy-down") turned_at = i;
        EXPECT_EQ(sprite, turned_at == 0 ? "enemy-up" : "enemy-down") << "step " << i;
        if (i == 5) {
            EXPECT_LT(spider->getPosition().getY(), start_y) << "rises first";
        }
    }
    EXPECT_TRUE(was_out) << "deleted while still inside the window";
    EXPECT_GE(turned_at, 10);
    EXPECT_LE(turned_at, 11);
}

TEST_F(GiantEnemySpiderTest, OnlyADyingSpiderIsDeletedWhenOut) {
    leaveOnlyAnchor(TOP_ANCHOR);
    auto* spider = new GiantEnemySpider;
    const bw::EventOut out;
    EXPECT_EQ(spider->eventHandler(&out), 0);
    bw::WorldManager::getInstance().update();
    ASSERT_EQ(spidersInWorld(), 1);

    bw::Object shot;
    shot.setType("SilkShot");
    const bw::EventCollision hit(&shot, spider, spider->getPosition());
    spider->eventHandler(&hit);
    spider->eventHandler(&out);
    bw::WorldManager::getInstance().update();
    EXPECT_EQ(spidersInWorld(), 0);
}

TEST_F(GiantEnemySpiderTest, WithNoAnchorLeftItRemovesItselfAtItsFirstStep) {
    severAllStrings();
    auto* spider = new GiantEnemySpider;
    EXPECT_FALSE(isSoundPlaying("enemy-spawn"));
    EXPECT_EQ(spider->getSpeed(), 0);
    step();
    EXPECT_EQ(spidersInWorld(), 0);
}

} // namespace
