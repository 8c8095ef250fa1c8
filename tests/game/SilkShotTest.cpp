// The silk shot: flies straight across the web, restoring each cut string ahead of the
// intersections it passes and scoring hits on giant enemy spiders, with growing points.
#include "SilkShot.h"

#include "EventCollision.h"
#include "EventStep.h"
#include "Player.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"

#include "WebPlayTestSupport.h"

using bw::Vector;

/// Fires one shot in the step pass, as the player's spider does at a bounce.
class Launcher : public bw::Object {
public:
    Launcher(std::uint32_t direction, Vector from) : direction(direction), from(from) {
        setSolidness(bw::INTANGIBLE);
    }
    int eventHandler(const bw::Event* event) override {
        if (event->getType() != bw::EVENT_TYPE_STEP || fired) return 0;
        fired = true;
        (new SilkShot(direction))->fireFrom(from);
        return 1;
    }

private:
    std::uint32_t direction;
    Vector from;
    bool fired = false;
};

class SilkShotTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites();
    }
    /// Runs iterations in the game loop's order (the step to every object, then the world's
    /// update) until the shot has come and gone; the pop-ups, as they were when they appeared.
    std::vector<PopUpSighting> flyShot() {
        PopUpWatcher watcher;
        std::vector<PopUpSighting> seen;
        bool fired = false;
        for (int i = 0; i < 200 && !(fired && countOf("SilkShot") == 0); ++i) {
            broadcastStep(i);
            fired = fired || countOf("SilkShot") > 0;
            for (const PopUpSighting& popup : watcher.newPopUps()) seen.push_back(popup);
            bw::WorldManager::getInstance().update();
        }
        EXPECT_TRUE(fired);
        EXPECT_EQ(countOf("SilkShot"), 0) << "deleted once out of the window";
        return seen;
    }
    /// A fresh world, web and counters for the next case.
    static void nextCase() {
        bw::WorldManager::getInstance().shutDown();
        bw::WorldManager::getInstance().startUp();
        Web::getInstance().reset();
    }
};

// The spider bounces with a full charge at the border end of a string that was cut after it
// ran past: the shot it fires restores that string first.
TEST_F(SilkShotTest, ShotFiredAtABounceRestoresTheStringCutNextToTheBounce) {
    // Where the spider starts (web coordinate), its direction towards the border, and the cut
    // string's middle.
    for (const auto& [start, d, middle] :
         {std::tuple(Vector(0.5f, 1), Vector(-1, 0), Vector(0.5f, 1)),
          std::tuple(Vector(6.5f, 3), Vector(1, 0), Vector(6.5f, 3)),
          std::tuple(Vector(3, 4.5f), Vector(0, 1), Vector(3, 4.5f))}) {
        SCOPED_TRACE(start.toString());
        for (int i = 0; i < 3; ++i) SilkCounter::getInstance().addCharge();
        const Vector half(d.getX() / 2, d.getY() / 2);
        Web::getInstance().severConnection(middle - half, middle + half);
        auto* player = new Player;
        player->setPosition(at(start));
        player->setDirection(d);

        const std::vector<PopUpSighting> seen = flyShot();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "200");
        EXPECT_NEAR(seen[0].position.getX(), at(middle).getX(), 1e-4f);
        EXPECT_NEAR(seen[0].position.getY(), at(middle).getY(), 1e-4f);
        EXPECT_EQ(seen[0].color, bw::Color(255, 255, 255, 1.0f));
        EXPECT_EQ(countIntactStrings(), 58);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 200);
        EXPECT_FALSE(player->isDying());
        nextCase();
    }
}

TEST_F(SilkShotTest, EachRepairOfTheSameShotPaysAHundredMoreAtTheStringsMiddle) {
    // Direction, start just outside the border it bounced at, and the middles of the cut strings
    // in the order the shot meets them. The anchor string is the first one a shot restores;
    // column three comes back as 2.9999998 from worldToWeb.
    for (const auto& [bit, start, middles] : {
             std::tuple(RIGHT, Vector(-0.03f, 1), std::vector<Vector>{{0.5f, 1}, {4.5f, 1}}),
             std::tuple(LEFT, Vector(7.03f, 3),
                        std::vector<Vector>{{6.5f, 3}, {5.5f, 3}, {4.5f, 3}, {3.5f, 3}, {2.5f, 3}, {1.5f, 3},
                                            {0.5f, 3}}),
             std::tuple(UP, Vector(3, 5.04f), std::vector<Vector>{{3, 3.5f}, {3, 0.5f}})}) {
        SCOPED_TRACE(start.toString());
        const Vector half(Web::directionToOffset(bit).getX() / 2, Web::directionToOffset(bit).getY() / 2);
        for (const Vector m : middles) Web::getInstance().severConnection(m - half, m + half);
        new Launcher(bit, at(start));
        const std::vector<PopUpSighting> seen = flyShot();
        ASSERT_EQ(seen.size(), middles.size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].text, std::to_string(200 + 100 * i));
            EXPECT_NEAR(seen[i].position.getX(), at(middles[i]).getX(), 1e-4f) << i;
            EXPECT_NEAR(seen[i].position.getY(), at(middles[i]).getY(), 1e-4f) << i;
            EXPECT_EQ(seen[i].color, bw::Color(255, 255, 255, 1.0f));
        }
        const int n = static_cast<int>(seen.size());
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), n * 200 + n * (n - 1) * 50);
        EXPECT_EQ(countIntactStrings(), 58);
        nextCase();
    }
}

TEST_F(SilkShotTest, OnlyGiantEnemySpidersInEitherSlotScoreTwoFiftyFourHundredFiveFifty) {
    SilkShot shot(RIGHT);
    PopUpWatcher watcher;
    for (const char* type : {"Player", "Fly", "Saucer", "SilkShot", "giantenemyspider"}) {
        bw::Object other;
        other.setType(type);
        const bw::EventCollision first(&other, &shot, Vector()), second(&shot, &other, Vector());
        EXPECT_EQ(shot.eventHandler(&first) + shot.eventHandler(&second), 0) << type;
    }
    EXPECT_TRUE(watcher.newPopUps().empty());
    bw::Object spiders[3];
    for (int i = 0; i < 3; ++i) {
        spiders[i].setType("GiantEnemySpider");
        spiders[i].setPosition(Vector(20.0f + 10 * i, 5.0f + 5 * i));
        const bw::EventCollision hit = i == 1 ? bw::EventCollision(&spiders[i], &shot, Vector())
                                              : bw::EventCollision(&shot, &spiders[i], Vector());
        EXPECT_EQ(shot.eventHandler(&hit), 1);
        const std::vector<PopUpSighting> seen = watcher.newPopUps();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, std::to_string(250 + 150 * i));
        EXPECT_EQ(seen[0].position, spiders[i].getPosition());
        EXPECT_EQ(seen[0].color, bw::Color(242, 66, 54, 1.0f));
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 250 + 400 + 550);
}
