// Giant enemy spiders: entering through an anchor, waiting at interior intersections, severing
// strings after a blinking warning, turning back at the border, and dying on saucers and shots.
#include "GiantEnemySpider.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "WebPlayTestSupport.h"

#include <cmath>
#include <ctime>

using bw::Vector;

namespace {

const Vector FIRST_STOP(4, 1);
/// The calendar second every spider decision seeds from in these tests.
std::time_t fixed_second = 0;
std::time_t fixedSecond() { return fixed_second; }
/// Makes the next decisions draw walk (first number below 50) or sever, by choosing a second
/// whose seed draws it: the one way to steer a decision from outside.
void nextDecisionDraws(bool walk) {
    for (fixed_second = 1;; ++fixed_second) {
        std::srand(static_cast<unsigned>(fixed_second));
        if ((std::rand() % 100 < 50) == walk) return;
    }
}

class GiantEnemySpiderTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadEnemySprites();
        GiantEnemySpider::setSeedClock(fixedSecond);
    }
    void TearDown() override {
        GiantEnemySpider::setSeedClock(nullptr);
        WebPlayTest::TearDown();
    }
    static Web& web() { return Web::getInstance(); }
    void step() { stepWorld(step_count++); }

    /// With every anchor string but the top one at (4, 0) cut, a spider that entered there,
    /// checked on its way down column 4 to just past (4, 1), and has waited there for all but
    /// the last of its 15 steps; then, with cut, one that has just started to cut a string.
    GiantEnemySpider* spiderAtFirstStop(bool cut) {
        for (int x = 0; x < Web::COLUMNS; ++x)
            for (int y = 0; y < Web::ROWS; ++y)
                if (web().isEdge(Vector(x, y)) && Vector(x, y) != Vector(4, 0)) web().removeOnIntersection(Vector(x, y), 15);
        auto* spider = new GiantEnemySpider;
        EXPECT_EQ(spider->getPosition(), at(4, -1));
        EXPECT_EQ(spider->getVelocity(), Vector(0, 0.2f));
        EXPECT_EQ(spriteOf(spider), "enemy-down");
        int steps = 0;
        for (; steps < 200 && spider->getState() == WALKING; ++steps) {
            step();
            EXPECT_FLOAT_EQ(spider->getPosition().getX(), at(FIRST_STOP).getX());
        }
        EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP) << "passes the anchor without stopping";
        EXPECT_NEAR(steps, 121, 2) << "two spacings of 4.8 cells at 0.2 × 0.4 cells a step";
        const Vector where = spider->getPosition();
        EXPECT_TRUE(where.getY() > at(FIRST_STOP).getY() && where.getY() <= at(FIRST_STOP).getY() + 0.0801f)
            << where.toString() << " is not within a step past (4, 1)";
        for (int i = 0; i < 14; ++i) {
            EXPECT_EQ(spider->getTimer(), 15 - i);
            step();
            EXPECT_EQ(spider->getState(), WAITING);
            EXPECT_EQ(spider->getPosition(), where);
        }
        if (!cut) return spider;
        nextDecisionDraws(false);
        step();
        EXPECT_EQ(spider->getState(), SEVERING);
        return spider;
    }

    int step_count = 1;
};

TEST_F(GiantEnemySpiderTest, ACutStringBlinksThirtyStepsThenGoesAtBothEndsAndTheLastTwoStringsAreNeverCut) {
    GiantEnemySpider* spider = spiderAtFirstStop(true);
    const Vector heading = spider->getHeading();
    EXPECT_EQ(spider->getDirection(), heading) << "faces the string";
    EXPECT_TRUE(heard.played("enemy-sever"));
    const std::set<WebString> before = intactStrings(), blinking = blinkingStrings();
    ASSERT_EQ(blinking.size(), 1u);
    for (int i = 1; i <= 29; ++i) {
        step();
        ASSERT_EQ(spider->getState(), SEVERING) << "step " << i;
        ASSERT_EQ(intactStrings(), before) << "step " << i;
        ASSERT_EQ(blinkingStrings(), blinking) << "step " << i;
    }
    step();
    EXPECT_EQ(spider->getState(), WAITING);
    std::set<WebString> after = intactStrings();
    EXPECT_EQ(after.size() + 1, before.size());
    after.insert(*blinking.begin());
    EXPECT_EQ(after, before) << "the blinking string, and only it, is cut";
    EXPECT_EQ(web().severConnection(FIRST_STOP, FIRST_STOP + heading), 0) << "at both ends";
    EXPECT_TRUE(blinkingStrings().empty());
    // It decides again 15 steps later; with two strings left there it walks on although the
    // draw says cut.
    web().reset();
    for (const float dx : {1.0f, -1.0f}) web().severConnection(FIRST_STOP, FIRST_STOP + Vector(dx, 0));
    const std::set<WebString> two_left = intactStrings();
    for (int i = 1; i <= 14; ++i) step();
    EXPECT_EQ(spider->getState(), WAITING);
    nextDecisionDraws(false);
    step();
    EXPECT_EQ(spider->getState(), WALKING);
    EXPECT_TRUE(blinkingStrings().empty());
    for (int i = 0; i < 40; ++i) step();
    EXPECT_EQ(intactStrings(), two_left);
}

TEST_F(GiantEnemySpiderTest, AWalkingSpiderTurnsBackAtTheBorderWithoutWaiting) {
    GiantEnemySpider* spider = spiderAtFirstStop(false);
    for (const Vector offset : {Vector(1, 0), Vector(0, 1), Vector(-1, 0)}) web().severConnection(FIRST_STOP, FIRST_STOP + offset);
    step();
    ASSERT_EQ(spider->getHeading(), Vector(0, -1)) << "the only string left";
    int turns = 0;
    for (int steps = 0; spider->getState() == WALKING; ++steps) {
        ASSERT_LT(steps, 400);
        const float vy = spider->getVelocity().getY();
        step();
        EXPECT_GE(spider->getPosition().getY(), -0.08f - 1e-4f) << "turns within a step past the anchor";
        turns += vy < 0 && spider->getVelocity().getY() > 0 ? 1 : 0;
        EXPECT_TRUE(spider->getState() != WALKING || spider->getSpeed() > 0) << "never waits on the border";
    }
    EXPECT_EQ(turns, 1);
    EXPECT_EQ(spriteOf(spider), "enemy-down");
    EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP);
}

TEST_F(GiantEnemySpiderTest, ASaucerOrASilkShotInEitherSlotKillsItEvenWhileSeveringThenItFallsOut) {
    for (const std::string type : {"Player", "Fly", "saucer", "Saucer", "SilkShot"}) {
        for (const bool other_first : {true, false}) {
            GiantEnemySpider spider;
            bw::Object other;
            other.setType(type);
            bw::Object* pair[] = {&other, &spider};
            const bw::EventCollision hit(pair[!other_first], pair[other_first], Vector());
            spider.eventHandler(&hit);
            const bool kills = type == "Saucer" || type == "SilkShot";
            ASSERT_EQ(spider.getState() == DYING, kills) << type << (other_first ? " first" : " second");
            if (!kills) continue;
            EXPECT_EQ(spider.getSolidness(), bw::INTANGIBLE);
            EXPECT_FLOAT_EQ(spider.getVelocity().getY(), -1.0f);
            // Up and to a random side, from 0.5 to 1.2425 cells a step.
            EXPECT_NEAR(std::fabs(spider.getVelocity().getX()), 0.87125f, 0.37125f + 1e-6f);
        }
    }
    // Killed while severing, it leaves the string intact and stops its blinking; it rises for
    // about 10 steps, then falls, and is deleted only once out of the window.
    GiantEnemySpider* spider = spiderAtFirstStop(true);
    const std::set<WebString> before = intactStrings();
    const bw::EventOut out;
    spider->eventHandler(&out);
    for (int i = 0; i < 10; ++i) step();
    ASSERT_EQ(countOf("GiantEnemySpider"), 1) << "a living spider ignores being out";
    bw::Object shot;
    shot.setType("SilkShot");
    const bw::EventCollision hit(&shot, spider, Vector());
    spider->eventHandler(&hit);
    EXPECT_TRUE(blinkingStrings().empty());
    int turned_at = 0;
    bool was_out = false;
    for (int i = 1; countOf("GiantEnemySpider") == 1; ++i) {
        ASSERT_LT(i, 300) << "never left the window";
        was_out = !bw::boxIntersectsBox(spider->getWorldBox(), bw::Box(Vector(), 80, 24));
        const float vy = spider->getVelocity().getY();
        step();
        if (countOf("GiantEnemySpider") == 0) break;
        EXPECT_NEAR(spider->getVelocity().getY(), vy + 0.1f, 1e-5) << "step " << i;
        if (turned_at == 0 && spriteOf(spider) == "enemy-down") turned_at = i;
        EXPECT_EQ(spriteOf(spider), turned_at == 0 ? "enemy-up" : "enemy-down") << "step " << i;
    }
    EXPECT_TRUE(was_out) << "deleted while still inside the window";
    EXPECT_NEAR(turned_at, 10.5, 0.5);
    EXPECT_EQ(intactStrings(), before);
}

} // namespace
