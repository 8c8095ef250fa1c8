// The player's spider on the web: entering, turning at interior intersections, bouncing (and
// firing) at the border, falling where no string leads on, and handing over to the game-over
// screen shortly before the fall animation ends.
#include "GameStart.h"
#include "Player.h"
#include "ResourceManager.h"
#include "SilkCounter.h"

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <functional>

using bw::Vector;

namespace {

class PlayerTest : public WebPlayTest {
protected:
    void SetUp() override {
        WebPlayTest::SetUp();
        loadWebPlaySprites();
    }
    void TearDown() override {
        WebPlayTest::TearDown();
        bw::ResourceManager::getInstance().unloadSprite("player-fall"); // back to the game's own
    }
    /// A fresh world with this much charge, nothing heard, and a spider at a web coordinate
    /// running in direction d (NO_POSITION: where a new one starts).
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
    int iterate() { stepWorld(step); return step++; }
    /// Iterates until done() holds right after a step event, noting where the spider stood
    /// before its last move; the step count then, or -1 when it never held within limit.
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

    Player* player = nullptr;
    Vector before;
    int step = 100;
};

TEST_F(PlayerTest, QueuedTurnIsTakenOnlyAcrossTheAxisAndSnapsOntoTheString) {
    // A fresh spider enters through the left anchor without bouncing (a bounce would fire the
    // charge); neither held nor released keys queue a turn, nor does a released Escape kill.
    startCase(NO_POSITION, Vector(), 3);
    for (const bw::Key key : {bw::KEY_S, bw::KEY_ESCAPE})
        for (const bw::KeyboardAction action : {bw::KEY_HELD, bw::KEY_RELEASED}) sendKey(player, key, action);
    ASSERT_GE(iterateUntil([&] {
        EXPECT_EQ(player->getDirection(), Vector(1, 0));
        return player->getPosition().getX() > at(Vector(2.1f, 1)).getX();
    }), 0);
    EXPECT_FALSE(player->isDying());
    EXPECT_EQ(SilkCounter::getInstance().getCharge(), 3);
    EXPECT_TRUE(heard.take().empty());
    // Running down column 2 (or else right along row 1), the keys pressed one step apart before
    // the next intersection, and the direction and sprite after it; the last key is used up
    // there either way.
    using Keys = std::vector<bw::Key>;
    for (const auto& [down, keys, turned, sprite] :
         {std::tuple(false, Keys{bw::KEY_S}, Vector(0, 1), "player-down"),
          std::tuple(false, Keys{bw::KEY_S, bw::KEY_W}, Vector(0, -1), "player-up"),
          std::tuple(true, Keys{bw::KEY_W, bw::KEY_A}, Vector(-1, 0), "player-left"),
          std::tuple(false, Keys{bw::KEY_A}, Vector(1, 0), "player-right"),
          std::tuple(false, Keys{bw::KEY_D}, Vector(1, 0), "player-right"),
          std::tuple(true, Keys{bw::KEY_W}, Vector(0, 1), "player-right")}) {
        SCOPED_TRACE(std::string(down ? "down, key " : "right, key ") + std::to_string(keys.back()));
        const Vector d = down ? Vector(0, 1) : Vector(1, 0), next = down ? Vector(2, 2) : Vector(1, 1);
        startCase(down ? Vector(2, 1.5f) : Vector(0.5f, 1), d);
        for (const bw::Key key : keys) {
            sendKey(player, key);
            iterate();
        }
        ASSERT_GE(iterateUntil([&] { return player->getQueuedDirection() == NO_POSITION; }), 0);
        EXPECT_LE(past(before, next, d), 0) << "on the first step past the intersection";
        EXPECT_EQ(player->getDirection(), turned);
        EXPECT_EQ(spriteOf(player), sprite);
        EXPECT_EQ(heard.take(), turned != d ? std::vector<std::string>{"sound player-shift"} : std::vector<std::string>{});
        // A turn drops the distance run past the intersection; a used-up key changes nothing.
        EXPECT_EQ(player->getPosition() == at(next), turned != d);
    }
}

TEST_F(PlayerTest, FallsOnlyWhereTheStringAheadInItsDirectionAfterAnyTurnIsCut) {
    const Vector right(1, 0), left(-1, 0), up(0, -1), down(0, 1);
    const bw::Key no = bw::UNDEFINED_KEY;
    // Start, direction, key pressed, the string cut, whether the spider falls passing cut_from.
    // Only the string ahead counts; the one it runs along may be gone already. After a turn
    // the fall test uses the new direction, and forgets where it was heading before.
    for (const auto& [start, d, key, cut_from, cut_to, falls] : {
             std::tuple(Vector(4.5f, 3), right, no, Vector(5, 3), Vector(6, 3), true),
             std::tuple(Vector(4.5f, 3), right, no, Vector(5, 3), Vector(4, 3), false),
             std::tuple(Vector(5.5f, 2), left, no, Vector(5, 2), Vector(4, 2), true),
             std::tuple(Vector(2, 3.5f), up, no, Vector(2, 3), Vector(2, 2), true),
             std::tuple(Vector(4, 1.5f), down, no, Vector(4, 2), Vector(4, 3), true),
             std::tuple(Vector(4, 1.5f), down, no, Vector(4, 2), Vector(4, 1), false),
             std::tuple(Vector(0.5f, 1), right, bw::KEY_S, Vector(1, 1), Vector(2, 1), false),
             std::tuple(Vector(0.5f, 1), right, bw::KEY_S, Vector(1, 1), Vector(1, 2), true),
             std::tuple(Vector(0.5f, 1), right, bw::KEY_S, Vector(2, 1), Vector(2, 2), false)}) {
        SCOPED_TRACE(start.toString() + " cut to " + cut_to.toString());
        startCase(start, d);
        Web::getInstance().severConnection(cut_from, cut_to);
        sendKey(player, key);
        const int died = iterateUntil([&] { return player->isDying(); }, 40);
        ASSERT_EQ(died >= 0, falls);
        EXPECT_EQ(player->getDirection(), key == bw::KEY_S ? down : d) << "drifts on when falling";
        if (!falls) continue;
        EXPECT_LE(past(before, cut_from, player->getDirection()), 0) << "on the step it passes";
        EXPECT_GE(past(player->getPosition(), cut_from, player->getDirection()), 0);
        EXPECT_EQ(player->getLastStep(), died) << "the step of death";
        EXPECT_TRUE(heard.played("player-fall"));
    }
    EXPECT_EQ(countLogLines("Player is dying"), 5);
}

TEST_F(PlayerTest, GameOverComesTenStepsBeforeTheFallAnimationEnds) {
    // Fall slowdown per frame, death by Escape between steps (as the input pass does) or by a
    // cut string, and the steps from the step of death to game over.
    for (const auto& [slowdown, escape, after] : {std::tuple(4, false, 30), {2, true, 10}, {1, false, 0}}) {
        SCOPED_TRACE(slowdown);
        replaceSprite("player-fall", 10, slowdown);
        startCase(Vector(0.5f, 1), Vector(1, 0));
        Web::getInstance().severConnection(Vector(1, 1), Vector(2, 1));
        const GameStart& game = GameStart::getInstance();
        heard.take();
        int died = -1;
        if (escape) {
            iterate();
            sendKey(player, bw::KEY_ESCAPE);
            sendKey(player, bw::KEY_ESCAPE); // dies once only
            player->die();
            EXPECT_EQ(heard.take(), std::vector<std::string>{"sound player-fall"});
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

TEST_F(PlayerTest, BounceAtEachBorderFiresBackIntoTheWebOnlyWithEnoughCharge) {
    // The border intersection, the direction out, and the side the spider and its shot face after.
    for (const auto& [edge, d, side] : {std::tuple(Vector(7, 1), Vector(1, 0), "left"), {Vector(0, 2), Vector(-1, 0), "right"},
                                        {Vector(3, 0), Vector(0, -1), "down"}, {Vector(6, 5), Vector(0, 1), "up"}}) {
        for (const int charges : {2, 5}) {
            SCOPED_TRACE(std::string(side) + " with charge " + std::to_string(charges));
            const bool fires = charges >= 3;
            startCase(edge - Vector(d.getX() / 2, d.getY() / 2), d, charges);
            sendKey(player, bw::KEY_S);
            ASSERT_GE(iterateUntil([&] { return player->getDirection() != d; }), 0);
            EXPECT_LE(past(before, edge, d), 0) << "on the first step past the border";
            EXPECT_EQ(player->getDirection(), Vector() - d);
            EXPECT_EQ(spriteOf(player), std::string("player-") + side);
            EXPECT_EQ(player->getQueuedDirection(), NO_POSITION) << "a bounce drops the queued key";
            std::vector<std::string> sounds{"sound player-bounce", "sound rope-repair"};
            sounds.resize(fires ? 2 : 1);
            EXPECT_EQ(heard.take(), sounds);
            EXPECT_EQ(SilkCounter::getInstance().getCharge(), fires ? charges - 3 : charges);
            const bw::ObjectList shots = bw::WorldManager::getInstance().objectsOfType("SilkShot");
            ASSERT_EQ(shots.getCount(), fires ? 1 : 0);
            if (!fires) continue;
            EXPECT_EQ(shots[0]->getDirection(), Vector() - d) << "back into the web";
            EXPECT_EQ(spriteOf(shots[0]), std::string("silk-shot-") + side);
            EXPECT_EQ(shots[0]->getPosition(), player->getPosition()) << "starts where the spider is";
        }
    }
}

} // namespace
