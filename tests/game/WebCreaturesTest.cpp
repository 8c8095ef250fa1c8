// Everything that moves on the web: the player's spider (entering, turning at interior
// intersections, bouncing and firing at the border, falling where no string leads on, handing
// over to the game-over screen), giant enemy spiders (waiting, severing after a blinking warning,
// turning back at the border, dying on saucers and shots), flies (untouchable during their intro,
// twitching, eaten for points and a charge), silk shots (restoring cut strings, scoring on
// spiders), the spawner's shrinking timers, and saucers that crash on and cut their zone.
#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "Fly.h"
#include "GameStart.h"
#include "GiantEnemySpider.h"
#include "Player.h"
#include "ResourceManager.h"
#include "Saucer.h"
#include "ScoreCounter.h"
#include "SilkCounter.h"
#include "SilkShot.h"
#include "Spawner.h"

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <cmath>
#include <ctime>
#include <functional>
#include <map>

using bw::Vector;
using Heard = std::vector<std::string>;

namespace {

const bw::Color FLY_PINK(0xE3, 0x63, 0x97, 1.0f), KILL_RED(242, 66, 54, 1.0f);
const Vector FIRST_STOP(4, 1);
/// Steps at which a spawner created objects, per type, counted from its first step event (1).
using SpawnLog = std::map<std::string, std::vector<int>>;
using Targets = std::set<std::pair<float, float>>;

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

class WebCreaturesTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites(); // the silk counter's seven frames let the charge reach 6
        loadTestSprite("fly-intro", {8, 8, 8}); // 24 steps
        GiantEnemySpider::setSeedClock(fixedSecond);
    }
    void TearDown() override {
        GiantEnemySpider::setSeedClock(nullptr);
        WebPlayTest::TearDown();
        bw::ResourceManager::getInstance().unloadSprite("player-fall"); // back to the game's own
    }
    int iterate() { stepWorld(step); return step++; }
    /// A fresh world with this much charge, nothing heard, and a player's spider at a web
    /// coordinate running in direction d (NO_POSITION: where a new one starts).
    void startCase(Vector web_position, Vector d, int charges = 0) {
        restartWorld();
        for (int i = 0; i < charges; ++i) SilkCounter::getInstance().addCharge();
        heard.take();
        player = new Player;
        if (web_position == NO_POSITION) return;
        player->setPosition(at(web_position));
        player->setDirection(d);
    }
    /// How far (cells) a position lies past the intersection c along direction d.
    static float past(Vector position, Vector c, Vector d) {
        return (position.getX() - at(c).getX()) * d.getX() + (position.getY() - at(c).getY()) * d.getY();
    }
    /// Iterates until done() holds right after a step event, noting where the player's spider
    /// stood before its last move; the step count then, or -1 when it never held within limit.
    /// The update of that iteration is left out.
    int iterateUntil(const std::function<bool()>& done, int limit = 400) {
        before = player->getPosition();
        for (int i = 0; i < limit; ++i, ++step) {
            broadcastStep(step);
            if (done()) return step++;
            before = player->getPosition();
            bw::WorldManager::getInstance().update();
        }
        return -1;
    }
    /// Cuts the strings of every border intersection but anchor.
    static void onlyAnchor(Vector anchor) {
        severStrings([&](Vector e) { return web().isEdge(e) && e != anchor; });
    }
    /// With every anchor string but the top one at (4, 0) cut, a spider that entered there,
    /// checked on its way down column 4 to just past (4, 1), and has waited there for all but
    /// the last of its 15 steps; then, with cut, one that has just started to cut a string.
    GiantEnemySpider* spiderAtFirstStop(bool cut) {
        onlyAnchor(Vector(4, 0));
        auto* spider = new GiantEnemySpider;
        int steps = 0;
        for (; steps < 200 && spider->getState() == WALKING; ++steps) {
            iterate();
            EXPECT_FLOAT_EQ(spider->getPosition().getX(), at(FIRST_STOP).getX());
        }
        EXPECT_EQ(spider->getCurrentIntersection(), FIRST_STOP) << "passes the anchor without stopping";
        EXPECT_NEAR(steps, 121, 2) << "two spacings of 4.8 cells at 0.2 × 0.4 cells a step";
        const Vector where = spider->getPosition();
        EXPECT_NEAR(where.getY(), at(FIRST_STOP).getY() + 0.04f, 0.0401f) << "not within a step past (4, 1)";
        for (int i = 0; i < 14; ++i) {
            EXPECT_EQ(spider->getTimer(), 15 - i);
            iterate();
            EXPECT_TRUE(spider->getState() == WAITING && spider->getPosition() == where);
        }
        if (!cut) return spider;
        nextDecisionDraws(false);
        iterate();
        EXPECT_EQ(spider->getState(), SEVERING);
        return spider;
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

    Player* player = nullptr;
    Vector before;
    int step = 100;
};

TEST_F(WebCreaturesTest, PlayerQueuedTurnIsTakenOnlyAcrossTheAxisAndSnapsOntoTheString) {
    // A fresh spider enters through the left anchor without bouncing (a bounce would fire the
    // charge); neither held nor released keys queue a turn, nor does a released Escape kill.
    startCase(NO_POSITION, Vector(), 3);
    for (const bw::Key key : {bw::KEY_S, bw::KEY_ESCAPE})
        for (const bw::KeyboardAction action : {bw::KEY_HELD, bw::KEY_RELEASED})
            EXPECT_EQ(sendKey(player, key, action), 1) << "taken, and ignored";
    const bw::EventOut out;
    EXPECT_EQ(player->eventHandler(&out), 0) << "not a spider's concern";
    ASSERT_GE(iterateUntil([&] {
        EXPECT_EQ(player->getDirection(), Vector(1, 0));
        return player->getPosition().getX() > at(Vector(2.1f, 1)).getX();
    }), 0);
    EXPECT_EQ(std::tuple(player->isDying(), SilkCounter::getInstance().getCharge(), heard.take()),
              std::tuple(false, 3, Heard{}));
    // Running down column 2 (or else right along row 1), the keys pressed one step apart before
    // the next intersection, and the direction and sprite after it; the last key is used up
    // there either way.
    using Keys = std::vector<bw::Key>;
    for (const auto& [down, keys, turned, sprite] :
         {std::tuple(false, Keys{bw::KEY_S}, Vector(0, 1), "player-down"), {false, {bw::KEY_A}, {1, 0}, "player-right"},
          {false, {bw::KEY_S, bw::KEY_W}, {0, -1}, "player-up"}, {true, {bw::KEY_W, bw::KEY_A}, {-1, 0}, "player-left"},
          {false, {bw::KEY_D}, {1, 0}, "player-right"}, {true, {bw::KEY_W}, {0, 1}, "player-right"}}) {
        SCOPED_TRACE(std::string(down ? "down, key " : "right, key ") + std::to_string(keys.back()));
        const Vector d = down ? Vector(0, 1) : Vector(1, 0), next = down ? Vector(2, 2) : Vector(1, 1);
        startCase(down ? Vector(2, 1.5f) : Vector(0.5f, 1), d);
        for (const bw::Key key : keys) sendKey(player, key), iterate();
        ASSERT_GE(iterateUntil([&] { return player->getQueuedDirection() == NO_POSITION; }), 0);
        EXPECT_LE(past(before, next, d), 0) << "on the first step past the intersection";
        EXPECT_EQ(std::tuple(player->getDirection(), spriteOf(player)), std::tuple(turned, sprite));
        EXPECT_EQ(heard.take(), turned != d ? Heard{"sound player-shift"} : Heard{});
        // A turn drops the distance run past the intersection; a used-up key changes nothing.
        EXPECT_EQ(player->getPosition() == at(next), turned != d);
    }
}

TEST_F(WebCreaturesTest, PlayerFallsOnlyWhereTheStringAheadInItsDirectionAfterAnyTurnIsCut) {
    const Vector right(1, 0), left(-1, 0), up(0, -1), down(0, 1);
    const bw::Key no = bw::UNDEFINED_KEY;
    // Start, direction, key pressed, the string cut, whether the spider falls passing cut_from.
    // Only the string ahead counts; the one it runs along may be gone already. After a turn
    // the fall test uses the new direction, and forgets where it was heading before.
    for (const auto& [start, d, key, cut_from, cut_to, falls] :
         {std::tuple(Vector(2, 3.5f), up, no, Vector(2, 3), Vector(2, 2), true),
          {{4.5f, 3}, right, no, {5, 3}, {6, 3}, true}, {{4.5f, 3}, right, no, {5, 3}, {4, 3}, false},
          {{4, 1.5f}, down, no, {4, 2}, {4, 3}, true}, {{4, 1.5f}, down, no, {4, 2}, {4, 1}, false},
          {{0.5f, 1}, right, bw::KEY_S, {1, 1}, {2, 1}, false}, {{0.5f, 1}, right, bw::KEY_S, {1, 1}, {1, 2}, true},
          {{5.5f, 2}, left, no, {5, 2}, {4, 2}, true}, {{0.5f, 1}, right, bw::KEY_S, {2, 1}, {2, 2}, false}}) {
        SCOPED_TRACE(start.toString() + " cut to " + cut_to.toString());
        startCase(start, d);
        Web::getInstance().severConnection(cut_from, cut_to);
        sendKey(player, key);
        const int died = iterateUntil([&] { return player->isDying(); }, 40);
        ASSERT_EQ(died >= 0, falls);
        EXPECT_EQ(player->getDirection(), key == bw::KEY_S ? down : d) << "drifts on when falling";
        if (!falls) continue;
        const Vector now = player->getDirection();
        EXPECT_TRUE(past(before, cut_from, now) <= 0 && past(player->getPosition(), cut_from, now) >= 0) << "passing";
        EXPECT_EQ(std::tuple(player->getLastStep(), heard.played("player-fall")), std::tuple(died, true));
    }
    EXPECT_EQ(countLogLines("Player is dying"), 5);
}

TEST_F(WebCreaturesTest, PlayerGameOverComesTenStepsBeforeTheFallAnimationEnds) {
    // Fall slowdown per frame, death by Escape between steps (as the input pass does) or by a
    // cut string, and the steps from the step of death to game over.
    for (const auto& [slowdown, escape, after] : {std::tuple(4, false, 30), {2, true, 10}, {1, false, 0}}) {
        SCOPED_TRACE(slowdown);
        loadTestSprite("player-fall", std::vector(10, slowdown));
        startCase(Vector(0.5f, 1), Vector(1, 0));
        Web::getInstance().severConnection(Vector(1, 1), Vector(2, 1));
        const GameStart& game = GameStart::getInstance();
        heard.take(); // the title song
        int died = -1;
        if (escape) {
            iterate();
            for (int i = 0; i < 2; ++i) sendKey(player, bw::KEY_ESCAPE); // dies once only
            player->die();
            EXPECT_EQ(std::tuple(heard.take(), player->getAltitude()), std::tuple(Heard{"sound player-fall"}, 3));
            died = player->getLastStep();
        } else {
            ASSERT_GE(iterateUntil([&] { return player->isDying(); }), 0);
            died = player->getLastStep(); // read first: a game over in this step deletes the player
            bw::WorldManager::getInstance().update();
        }
        int over = game.getState() == GAME_OVER ? died : -1;
        while (over < 0 && step < died + 60)
            if (const int s = iterate(); game.getState() == GAME_OVER) over = s;
        EXPECT_EQ(over, died + after);
    }
    EXPECT_EQ(countLogLines("Player is dying"), 3);
}

TEST_F(WebCreaturesTest, PlayerBounceAtEachBorderFiresBackIntoTheWebOnlyWithEnoughCharge) {
    // The border intersection, the direction out, and the side the spider and its shot face after.
    for (const auto& [edge, d, side] :
         {std::tuple(Vector(7, 1), Vector(1, 0), "left"), {Vector(0, 2), Vector(-1, 0), "right"},
          {Vector(3, 0), Vector(0, -1), "down"}, {Vector(6, 5), Vector(0, 1), "up"}})
        for (const int charges : {2, 5}) {
            SCOPED_TRACE(std::string(side) + " with charge " + std::to_string(charges));
            const bool fires = charges >= 3;
            startCase(edge - Vector(d.getX() / 2, d.getY() / 2), d, charges);
            sendKey(player, bw::KEY_S);
            ASSERT_GE(iterateUntil([&] { return player->getDirection() != d; }), 0);
            EXPECT_LE(past(before, edge, d), 0) << "on the first step past the border";
            const Vector back = Vector() - d;
            EXPECT_EQ(std::tuple(player->getDirection(), spriteOf(player)),
                      std::tuple(back, "player-" + std::string(side)));
            EXPECT_EQ(player->getQueuedDirection(), NO_POSITION) << "a bounce drops the queued key";
            const Heard bounce{"sound player-bounce"}, bounce_and_fire{"sound player-bounce", "sound rope-repair"};
            EXPECT_EQ(heard.take(), fires ? bounce_and_fire : bounce);
            EXPECT_EQ(SilkCounter::getInstance().getCharge(), fires ? charges - 3 : charges);
            const bw::ObjectList shots = bw::WorldManager::getInstance().objectsOfType("SilkShot");
            ASSERT_EQ(shots.getCount(), fires ? 1 : 0);
            if (!fires) continue;
            // Back into the web, from where the spider is.
            EXPECT_EQ(std::tuple(shots[0]->getDirection(), shots[0]->getPosition(), spriteOf(shots[0])),
                      std::tuple(back, player->getPosition(), "silk-shot-" + std::string(side)));
        }
}

// Through the one anchor left, from one spacing outside it, facing in.
TEST_F(WebCreaturesTest, SpiderEntersThroughItsAnchorFromOutsideTheWindowFacingIn) {
    for (const auto& [anchor, outward, sprite] :
         {std::tuple(Vector(0, 2), Vector(-1, 0), "enemy-right"), {Vector(7, 3), Vector(1, 0), "enemy-left"},
          {Vector(3, 5), Vector(0, 1), "enemy-up"}, {Vector(4, 0), Vector(0, -1), "enemy-down"}}) {
        restartWorld();
        onlyAnchor(anchor);
        const GiantEnemySpider spider;
        EXPECT_EQ(std::tuple(spider.getPosition(), spider.getDirection(), spriteOf(&spider)),
                  std::tuple(at(anchor + outward), Vector() - outward, sprite));
    }
}

TEST_F(WebCreaturesTest, SpiderACutStringBlinksThirtyStepsThenGoesAtBothEndsAndTheLastTwoStringsAreNeverCut) {
    GiantEnemySpider* spider = spiderAtFirstStop(true);
    const Vector heading = spider->getHeading();
    EXPECT_TRUE(spider->getDirection() == heading && heard.played("enemy-sever")) << "faces the string, heard";
    const std::set<WebString> before = webStrings(), blinking = webStrings(true);
    ASSERT_EQ(blinking.size(), 1u);
    for (int i = 1; i <= 29; ++i) {
        iterate();
        ASSERT_TRUE(spider->getState() == SEVERING && webStrings() == before && webStrings(true) == blinking) << i;
    }
    iterate();
    EXPECT_EQ(spider->getState(), WAITING);
    std::set<WebString> expected = before;
    expected.erase(*blinking.begin());
    EXPECT_EQ(webStrings(), expected) << "the blinking string, and only it, is cut";
    EXPECT_EQ(web().severConnection(FIRST_STOP, FIRST_STOP + heading), 0) << "at both ends";
    EXPECT_TRUE(webStrings(true).empty());
    // It decides again 15 steps later; with two strings left there it walks on although the
    // draw says cut.
    web().reset();
    for (const float dx : {1.0f, -1.0f}) web().severConnection(FIRST_STOP, FIRST_STOP + Vector(dx, 0));
    const std::set<WebString> two_left = webStrings();
    for (int i = 1; i <= 14; ++i) iterate();
    EXPECT_EQ(spider->getState(), WAITING);
    nextDecisionDraws(false);
    iterate();
    EXPECT_TRUE(spider->getState() == WALKING && webStrings(true).empty()) << "walks on without a warning";
    for (int i = 0; i < 40; ++i) iterate();
    EXPECT_EQ(webStrings(), two_left);
}

TEST_F(WebCreaturesTest, SpiderAWalkingSpiderTurnsBackAtTheBorderWithoutWaiting) {
    GiantEnemySpider* spider = spiderAtFirstStop(false);
    for (const Vector offset : {Vector(1, 0), Vector(0, 1), Vector(-1, 0)})
        web().severConnection(FIRST_STOP, FIRST_STOP + offset);
    iterate();
    ASSERT_EQ(spider->getHeading(), Vector(0, -1)) << "the only string left";
    int turns = 0;
    for (int steps = 0; spider->getState() == WALKING; ++steps) {
        ASSERT_LT(steps, 400);
        const float vy = spider->getVelocity().getY();
        iterate();
        EXPECT_GE(spider->getPosition().getY(), -0.08f - 1e-4f) << "turns within a step past the anchor";
        turns += vy < 0 && spider->getVelocity().getY() > 0 ? 1 : 0;
        EXPECT_TRUE(spider->getState() != WALKING || spider->getSpeed() > 0) << "never waits on the border";
    }
    EXPECT_EQ(std::tuple(turns, spriteOf(spider), spider->getCurrentIntersection()),
              std::tuple(1, "enemy-down", FIRST_STOP));
}

TEST_F(WebCreaturesTest, SpiderASaucerOrASilkShotInEitherSlotKillsItEvenWhileSeveringThenItFallsOut) {
    for (const std::string type : {"Fly", "Saucer", "SilkShot"})
        for (const bool other_first : {true, false}) {
            GiantEnemySpider spider;
            bw::Object other;
            other.setType(type);
            bw::Object* pair[] = {&other, &spider};
            const bw::EventCollision hit(pair[!other_first], pair[other_first], Vector());
            spider.eventHandler(&hit);
            ASSERT_EQ(spider.getState() == DYING, type != "Fly") << type << (other_first ? " first" : " second");
            if (type == "Fly") continue;
            EXPECT_EQ(spider.getSolidness() * 10 + spider.getVelocity().getY(), bw::INTANGIBLE * 10 - 1.0f);
            EXPECT_EQ(spider.getAltitude(), 3) << "falls in front of the web";
            // Up and to a random side, from 0.5 to 1.2425 cells a step.
            EXPECT_NEAR(std::fabs(spider.getVelocity().getX()), 0.87125f, 0.37125f + 1e-6f);
        }
    // Killed while severing, it leaves the string intact and stops its blinking; it rises for
    // about 10 steps, then falls, and is deleted only once out of the window.
    GiantEnemySpider* spider = spiderAtFirstStop(true);
    const std::set<WebString> before = webStrings();
    const bw::EventOut out;
    spider->eventHandler(&out);
    for (int i = 0; i < 10; ++i) iterate();
    ASSERT_EQ(countOf("GiantEnemySpider"), 1) << "a living spider ignores being out";
    bw::Object shot;
    shot.setType("SilkShot");
    const bw::EventCollision hit(&shot, spider, Vector());
    spider->eventHandler(&hit);
    EXPECT_TRUE(webStrings(true).empty());
    int turned_at = 0;
    bool was_out = false;
    for (int i = 1; countOf("GiantEnemySpider") == 1; ++i) {
        ASSERT_LT(i, 300) << "never left the window";
        was_out = !bw::boxIntersectsBox(spider->getWorldBox(), bw::Box(Vector(), 80, 24));
        const float vy = spider->getVelocity().getY();
        if (iterate(); countOf("GiantEnemySpider") == 0) break;
        EXPECT_NEAR(spider->getVelocity().getY(), vy + 0.1f, 1e-5) << "step " << i;
        if (turned_at == 0 && spriteOf(spider) == "enemy-down") turned_at = i;
        EXPECT_EQ(spriteOf(spider), turned_at == 0 ? "enemy-up" : "enemy-down") << "step " << i;
    }
    EXPECT_TRUE(was_out) << "deleted while still inside the window";
    EXPECT_NEAR(turned_at, 10.5, 0.5);
    EXPECT_EQ(webStrings(), before);
}

TEST_F(WebCreaturesTest, FlySitsOnAnInteriorStringUntouchableForItsIntroThenTwitchesOrLeavesWithoutAString) {
    Fly fly; // with an intro 24 steps long
    EXPECT_EQ(heard.take(), Heard{"sound fly-intro"});
    std::set<std::pair<float, float>> spots;
    for (int age = 1; age < 120; ++age) {
        // Untouchable during the intro, so the spider cannot eat it yet.
        EXPECT_EQ(std::tuple(fly.getSolidness(), spriteOf(&fly)),
                  age <= 24 ? std::tuple(bw::INTANGIBLE, "fly-intro") : std::tuple(bw::PASSABLE, "fly-twitch")) << age;
        const bw::EventStep event(age); // its first step is step 1
        EXPECT_EQ(fly.eventHandler(&event), age == 24 ? 1 : 0) << "age " << age;
        EXPECT_TRUE(age > 1 || fly.getBirthStep() == 0) << "born the step before the first it saw";
        // The reach in each 30 steps of its age: none at first, then at most a tenth of a cell.
        const float reach[] = {0.0f, 0.0909297f, 0.0756802f, 0.0279415f};
        EXPECT_NEAR(fly.getPosition().distance(fly.getAnchor()), reach[age / 30], 1e-5) << "age " << age;
        spots.insert({fly.getPosition().getX(), fly.getPosition().getY()});
    }
    EXPECT_GT(spots.size(), 60u) << "each step should pick a fresh direction";
    // On a string between interior intersections: one coordinate whole, both from 1 to the last interior one.
    const auto whole = [](float v) { return std::fabs(v - std::round(v)) < 1e-4f; };
    const auto interior = [](float v, int last) { return v > 0.9999f && v < last + 0.0001f; };
    for (int i = 0; i < 60; ++i) {
        const Vector w = Web::getInstance().worldToWeb(Fly().getPosition());
        EXPECT_TRUE((whole(w.getX()) || whole(w.getY())) && interior(w.getX(), Web::INTERIOR_COLUMNS) &&
                    interior(w.getY(), Web::INTERIOR_ROWS)) << w.toString();
    }
    severStrings();
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
        EXPECT_EQ(SilkCounter::getInstance().getCharge() * 1000 + ScoreCounter::getInstance().getScore(),
                  (charge_before + 1) * 1000 + 50);
        const char* award = charge_before == 2 ? "sound silk-charged" : "sound points-gained";
        EXPECT_EQ(heard.take(), (Heard{award, "sound player-eat"}));
        EXPECT_EQ(takePopUps(), (std::vector<PopUpSighting>{{"50", fly->getPosition(), FLY_PINK}}));
        stepWorld(1);
        EXPECT_EQ(countOf("Fly"), 0);
    }
    // The spider slurps only flies, and only the spider eats a fly.
    bw::Object other;
    other.setType("Saucer");
    Fly fly;
    heard.take();
    const bw::EventCollision bump(player, &other, Vector()), brush(&other, &fly, Vector());
    player->eventHandler(&bump);
    EXPECT_EQ(fly.eventHandler(&brush), 0);
    EXPECT_TRUE(heard.take().empty());
}

// Through the world's own movement and collisions, not a hand-made collision event.
TEST_F(WebCreaturesTest, PlayerRunningAlongItsStringEatsTheFlyOnItThroughTheWorldsCollisions) {
    // Only the string (1, 1)-(2, 1) is left while the fly picks its place, so it sits there.
    severStrings();
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
    using Middles = std::vector<Vector>;
    for (const auto& [bit, start, middles] :
         {std::tuple(RIGHT, Vector(-0.03f, 1), Middles{{0.5f, 1}, {4.5f, 1}}), {UP, {3, 5.04f}, {{3, 3.5f}, {3, 0.5f}}},
          {LEFT, {7.03f, 3}, {{6.5f, 3}, {5.5f, 3}, {4.5f, 3}, {3.5f, 3}, {2.5f, 3}, {1.5f, 3}, {0.5f, 3}}}}) {
        SCOPED_TRACE(start.toString());
        const Vector half(Web::directionToOffset(bit).getX() / 2, Web::directionToOffset(bit).getY() / 2);
        for (const Vector m : middles) web().severConnection(m - half, m + half);
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
            EXPECT_EQ(seen[i].color, bw::COLOR_WHITE);
            EXPECT_LT(seen[i].position.distance(at(middles[i])), 1e-4f) << i;
        }
        const int n = static_cast<int>(seen.size());
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), n * 200 + n * (n - 1) * 50);
        EXPECT_EQ(webStrings().size(), 58u);
        restartWorld();
    }
}

TEST_F(WebCreaturesTest, ShotScoresOnlyOnGiantEnemySpidersInEitherSlotTwoFiftyFourHundredFiveFifty) {
    SilkShot shot(RIGHT);
    bw::Object others[4];
    for (int i = 0; i < 4; ++i) {
        others[i].setType(i < 3 ? "GiantEnemySpider" : "Saucer");
        others[i].setPosition(Vector(20.0f + 10 * i, 5.0f + 5 * i));
        const bw::EventCollision first(&others[i], &shot, Vector()), second(&shot, &others[i], Vector());
        EXPECT_EQ(shot.eventHandler(i == 1 ? &first : &second) + (i == 3 ? shot.eventHandler(&first) : 0), i < 3) << i;
        const std::vector<PopUpSighting> award{{std::to_string(250 + 150 * i), others[i].getPosition(), KILL_RED}};
        EXPECT_EQ(takePopUps(), i < 3 ? award : std::vector<PopUpSighting>{});
    }
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), 250 + 400 + 550);
}

TEST_F(WebCreaturesTest, SpawnerFirstSpawnsOn130And330And600ThenGapsShrinkToThirtyStepsAndAgainAfresh) {
    for (const int run : {60000, 600}) { // the second spawner comes after one that hit the floor
        Spawner spawner;
        const SpawnLog spawned = runSpawner(spawner, run);
        // Type, first spawn, first gaps, and the spawn whose interval first reaches the floor.
        for (const auto& [type, first, first_gaps, floor_spawn] :
             {std::tuple("Fly", 130, std::vector<int>{127, 124, 122, 119}, 73),
              {"GiantEnemySpider", 330, {588, 577, 565}, 149}, {"Saucer", 600, {1030, 1009, 989}, 176}}) {
            SCOPED_TRACE(std::string(type) + " in " + std::to_string(run) + " steps");
            const std::vector<int>& steps = spawned.at(type);
            EXPECT_EQ(steps.front(), first);
            if (run == 600) continue;
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
    severStrings();
    Spawner idle;
    EXPECT_EQ(runSpawner(idle, 600).count("Saucer"), 0u) << "nothing left to aim at";
    EXPECT_FLOAT_EQ(idle.getSaucerCountdown(), 35.0f * 0.98f) << "the schedule goes on all the same";
    // Left: one anchor string, whose interior end (1, 2) may be aimed at and its border end
    // (0, 2) not, and one string between two interior intersections.
    web().repairConnection(Vector(0, 2), Vector(1, 2));
    web().repairConnection(Vector(3, 3), Vector(4, 3));
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
    // around the target; those along the border were never woven.
    const std::set<WebString> zone = webStrings(true);
    EXPECT_EQ(zone.size(), 12u);
    const auto close = [&](int c, int r) {
        return std::abs(c - target.getX()) <= 1 && std::abs(r - target.getY()) <= 1;
    };
    std::set<WebString> rest = webStrings();
    for (const WebString& w : zone) EXPECT_TRUE(close(w[0], w[1]) && close(w[2], w[3])) << w[0] << w[1];
    for (const WebString& w : zone) rest.erase(w);
    const auto out = [&] { return !bw::boxIntersectsBox(saucer->getWorldBox(), bw::Box(Vector(), 80, 24)); };
    bool seen_above = false;
    for (int after = 1; after <= 120; ++after) {
        ASSERT_TRUE(iterate() == 1 && !saucer->isCrashed()) << "deleted or crashed " << after << " steps after";
        seen_above = seen_above || out(); // above: it rises first
    }
    EXPECT_TRUE(seen_above) << "it should have been out above the window, and kept";
    EXPECT_EQ(webStrings().size(), 58u);
    heard.take();
    iterate();
    ASSERT_TRUE(saucer->isCrashed());
    EXPECT_EQ(heard.count("sound saucer-crash"), 1);
    EXPECT_EQ(webStrings(), rest) << "exactly the zone's strings are cut";
    EXPECT_TRUE(webStrings(true).empty() && saucer->getAltitude() == 0) << "no warning left, and on the ground";
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
