// The silk shot: flies straight across the web, restoring each cut string ahead of the
// intersections it passes and scoring hits on giant enemy spiders, with growing points.
#include "SilkShot.h"

#include "EventCollision.h"
#include "ScoreCounter.h"

#include "WebPlayTestSupport.h"

using bw::Vector;

class SilkShotTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites();
    }
};

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
        for (bw::Object* popup : bw::WorldManager::getInstance().objectsOfType("PopUp")) delete popup;
        ScoreCounter::getInstance().reset();
        const Vector half(Web::directionToOffset(bit).getX() / 2, Web::directionToOffset(bit).getY() / 2);
        for (const Vector m : middles) Web::getInstance().severConnection(m - half, m + half);
        (new SilkShot(bit))->setPosition(at(start));
        PopUpWatcher watcher;
        std::vector<PopUpSighting> seen;
        for (int i = 0; i < 200 && countOf("SilkShot") > 0; ++i) {
            broadcastStep(i);
            for (const PopUpSighting& popup : watcher.newPopUps()) seen.push_back(popup);
            bw::WorldManager::getInstance().update();
        }
        EXPECT_EQ(countOf("SilkShot"), 0) << "deleted once out of the window";
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
