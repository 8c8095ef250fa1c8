// The player's spider on the web: entering, turning at interior intersections, bouncing (and
// firing) at the border, falling where no string leads on, and handing over to the game-over
// screen shortly before the fall animation ends.
#include "Player.h"

#include "EventCollision.h"
#include "GameStart.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "SilkCounter.h"
#include "SilkShot.h"
#include "Sprite.h"
#include "Web.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const std::vector<std::string> CUES = {"player-eat", "player-bounce", "rope-repair", "player-shift",
                                       "player-fall"};
const std::string GAME_FALL_FILE = std::string(TARNWICK_SOURCE_DIR) + "/data/Sprites/spider-fall.txt";

std::string spriteLabel(const bw::Object* object) {
    return object->getSprite() ? object->getSprite()->getLabel() : std::string("(none)");
}

int spawnedSaucerLines() {
    int count = 0;
    for (const std::string& line : readLogLines())
        if (line.rfind("spawned saucer: ", 0) == 0) ++count;
    return count;
}

class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadWebPlaySprites();
        audible = cuesObservable();
    }

    void SetUp() override {
        log.shutDown();
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        world.startUp();
        loadCueSounds(dir.path(), CUES);
        stopCues(CUES);
        web().reset();
        silk().reset();
    }
    void TearDown() override {
        stopCues(CUES);
        world.shutDown();
        if (fall_replaced) {
            // Leave the game's own fall animation for the other tests.
            resources().unloadSprite("player-fall");
            resources().loadSprite(GAME_FALL_FILE, "player-fall");
        }
        log.shutDown();
    }

    static bw::ResourceManager& resources() { return bw::ResourceManager::getInstance(); }

    /// Replaces the fall animation with one of 10 frames of slowdown steps each.
    void useFallAnimation(int slowdown) {
        std::string art = "frames 10\nwidth 3\nheight 1\ndefault_color #F9C74F\ndefault_slowdown 1\n<BODY>\n";
        for (int i = 0; i < 10; ++i) art += "\\o/\nframe_slowdown " + std::to_string(slowdown) + "\nend\n";
        art += "</BODY>\n";
        const std::string file = "fall-" + std::to_string(slowdown) + ".txt";
        writeResourceFile(file, art);
        fall_replaced = true;
        ASSERT_EQ(resources().unloadSprite("player-fall"), 0);
        ASSERT_EQ(resources().loadSprite(file, "player-fall"), 0);
        ASSERT_EQ(resources().getSprite("player-fall")->getTotalSlowdown(), 10 * slowdown);
    }

    static Web& web() { return Web::getInstance(); }
    static SilkCounter& silk() { return SilkCounter::getInstance(); }
    Vector at(float column, float row) const { return web().webToWorld(Vector(column, row)); }

    void charge(int charges) {
        for (int i = 0; i < charges; ++i) silk().addCharge();
        ASSERT_EQ(silk().getCharge(), charges);
    }

    /// A player already on the web at a web coordinate, running in direction d.
    Player* placePlayer(Vector web_position, Vector d) {
        auto* player = new Player;
        player->setPosition(web().webToWorld(web_position));
        player->setDirection(d);
        return player;
    }

    /// One iteration: the step to every object, a look at the world between the step and the
    /// update (inspect), then the update. Returns the step count used.
    int iterate(const std::function<void()>& inspect = {}) {
        const int count = step++;
        broadcastStep(count);
        if (inspect) inspect();
        world.update();
        return count;
    }

    /// Iterates until done() holds right after a step event; the step count then, or -1 when
    /// it never held within limit iterations.
    int iterateUntil(const std::function<bool()>& done, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            const int count = step++;
            broadcastStep(count);
            if (done()) return count;
            world.update();
        }
        return -1;
    }
    /// The update that iterateUntil left out at its stopping step.
    void finishIteration() { world.update(); }

    int shotCount() const { return world.objectsOfType("SilkShot").getCount(); }
    SilkShot* firstShot() const {
        const bw::ObjectList shots = world.objectsOfType("SilkShot");
        return shots.isEmpty() ? nullptr : static_cast<SilkShot*>(*shots.begin());
    }

    void expectCue(const std::string& label, bool played) {
        if (!audible) return; // no audio device: the cue cannot be observed
        EXPECT_EQ(cueIsPlaying(label), played) << label;
    }

    static bool audible;
    bool fall_replaced = false;
    int step = 100;
    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::WorldManager& world = bw::WorldManager::getInstance();
};

bool PlayerTest::audible = false;

// --- Construction and keys -------------------------------------------------------------------

TEST_F(PlayerTest, StartsLeftOfTheWindowOnRowOneRunningRight) {
    Player player;
    EXPECT_EQ(player.getType(), "Player");
    EXPECT_EQ(spriteLabel(&player), "player-right");
    EXPECT_EQ(player.getBox().getHorizontal(), 3);
    EXPECT_EQ(player.getBox().getVertical(), 2);
    EXPECT_EQ(player.getSolidness(), bw::PASSABLE);
    EXPECT_EQ(player.getAltitude(), 2);
    EXPECT_FLOAT_EQ(player.getSpeed(), 0.6f);
    EXPECT_EQ(player.getDirection(), Vector(1, 0));
    EXPECT_EQ(player.getPosition(), at(-1, 1));
    EXPECT_EQ(player.getQueuedDirection(), NO_POSITION);
    EXPECT_EQ(player.getLastStep(), -1);
    EXPECT_FALSE(player.isDying());
}

TEST_F(PlayerTest, DirectionKeysQueueAndALaterKeyReplacesAnEarlierOne) {
    Player player;
    EXPECT_EQ(sendKey(&player, bw::KEY_W), 1);
    EXPECT_EQ(player.getQueuedDirection(), Vector(0, -1));
    sendKey(&player, bw::KEY_A);
    EXPECT_EQ(player.getQueuedDirection(), Vector(-1, 0));
    sendKey(&player, bw::KEY_S);
    EXPECT_EQ(player.getQueuedDirection(), Vector(0, 1));
    sendKey(&player, bw::KEY_D);
    EXPECT_EQ(player.getQueuedDirection(), Vector(1, 0));
}

TEST_F(PlayerTest, OnlyKeyPressesCountAndOtherKeysDoNothing) {
    Player player;
    EXPECT_EQ(sendKey(&player, bw::KEY_W, bw::KEY_HELD), 1);
    EXPECT_EQ(sendKey(&player, bw::KEY_S, bw::KEY_RELEASED), 1);
    EXPECT_EQ(sendKey(&player, bw::KEY_Q), 1);
    EXPECT_EQ(sendKey(&player, bw::KEY_ESCAPE, bw::KEY_RELEASED), 1);
    EXPECT_EQ(player.getQueuedDirection(), NO_POSITION);
    EXPECT_FALSE(player.isDying());
}

TEST_F(PlayerTest, LastStepFollowsTheStepsWhileAlive) {
    auto* player = new Player;
    iterate();
    iterate();
    EXPECT_EQ(player->getLastStep(), 101);
}

// --- Running and entering --------------------------------------------------------------------

TEST_F(PlayerTest, FreshPlayerEntersThroughTheLeftAnchorWithoutBouncing) {
    charge(3); // a bounce would fire, so a wrong one would show
    auto* player = new Player;
    const int reached = iterateUntil([&] {
        EXPECT_EQ(player->getDirection(), Vector(1, 0));
        return player->getPosition().getX() > at(2.1f, 1).getX();
    });
    ASSERT_GE(reached, 0);
    EXPECT_FALSE(player->isDying());
    EXPECT_EQ(player->getPosition().getY(), at(0, 1).getY());
    EXPECT_EQ(shotCount(), 0);
    EXPECT_EQ(silk().getCharge(), 3);
    expectCue("player-bounce", false);
}

TEST_F(PlayerTest, HorizontalStringTakesAboutNineteenStepsAndVerticalAboutTwenty) {
    auto* player = new Player;
    sendKey(player, bw::KEY_S);
    // Steps at which the next intersection ahead changes, i.e. an intersection is passed.
    std::vector<int> passes_x;
    std::vector<int> passes_y;
    Vector last = player->getNextIntersection();
    for (int i = 0; i < 160 && passes_y.size() < 4; ++i) {
        const int count = iterate();
        const Vector next = player->getNextIntersection();
        if (next.getX() != last.getX() && player->getDirection().getX() != 0) passes_x.push_back(count);
        if (next.getY() != last.getY() && player->getDirection().getY() != 0) passes_y.push_back(count);
        last = next;
    }
    // Along row 1 from the anchor (0, 1) to (1, 1): one horizontal string.
    ASSERT_GE(passes_x.size(), 2u);
    const int horizontal = passes_x[passes_x.size() - 1] - passes_x[passes_x.size() - 2];
    EXPECT_GE(horizontal, 19);
    EXPECT_LE(horizontal, 20);
    // Down column 1 after the turn (the first change is the turn itself): rows 2, 3 and 4.
    ASSERT_EQ(passes_y.size(), 4u);
    for (std::size_t i = 2; i < passes_y.size(); ++i) {
        EXPECT_GE(passes_y[i] - passes_y[i - 1], 19) << i;
        EXPECT_LE(passes_y[i] - passes_y[i - 1], 21) << i;
    }
}

// --- Turning ---------------------------------------------------------------------------------

TEST_F(PlayerTest, QueuedTurnIsTakenAtTheNextInteriorIntersectionAndSnapsOntoTheString) {
    auto* player = new Player;
    sendKey(player, bw::KEY_S); // queued before the anchor (0, 1): kept until (1, 1)
    Vector before_step;
    const int turned = iterateUntil([&] {
        if (player->getDirection() == Vector(1, 0)) before_step = player->getPosition() + Vector(0.6f, 0);
        return player->getDirection() != Vector(1, 0);
    });
    ASSERT_GE(turned, 0);
    EXPECT_GT(before_step.getX(), at(1, 1).getX()) << "turns on the step after passing (1, 1)";
    EXPECT_LT(before_step.getX(), at(1, 1).getX() + 0.6f) << "and not later";
    EXPECT_EQ(player->getDirection(), Vector(0, 1));
    EXPECT_EQ(player->getPosition(), at(1, 1)) << "the distance run past (1, 1) is dropped";
    EXPECT_EQ(spriteLabel(player), "player-down");
    EXPECT_EQ(player->getQueuedDirection(), NO_POSITION);
    EXPECT_FLOAT_EQ(player->getSpeed(), 0.6f);
    expectCue("player-shift", true);
    finishIteration();

    // Down column 1; D pressed a few steps on turns right onto row 2 at (1, 2).
    for (int i = 0; i < 3; ++i) iterate();
    sendKey(player, bw::KEY_D);
    const int turned_again = iterateUntil([&] { return player->getDirection() != Vector(0, 1); });
    ASSERT_GE(turned_again, 0);
    EXPECT_EQ(player->getDirection(), Vector(1, 0));
    EXPECT_EQ(player->getPosition(), at(1, 2));
    EXPECT_EQ(spriteLabel(player), "player-right");
    EXPECT_FALSE(player->isDying());
}

TEST_F(PlayerTest, AfterATurnTheIntersectionAheadOnTheOldAxisIsForgotten) {
    // (2, 1), where the spider was heading before it turned down at (1, 1), has no string
    // down; it must not be taken for the intersection just passed.
    web().severConnection(Vector(2, 1), Vector(2, 2));
    auto* player = new Player;
    sendKey(player, bw::KEY_S);
    ASSERT_GE(iterateUntil([&] { return player->getPosition().getY() > at(1, 2.5f).getY(); }), 0);
    EXPECT_FALSE(player->isDying());
    EXPECT_EQ(player->getPosition().getX(), at(1, 1).getX());
}

TEST_F(PlayerTest, LaterKeyReplacesAnEarlierOneBeforeTheIntersection) {
    auto* player = new Player;
    sendKey(player, bw::KEY_S);
    iterate();
    sendKey(player, bw::KEY_W);
    ASSERT_GE(iterateUntil([&] { return player->getDirection() != Vector(1, 0); }), 0);
    EXPECT_EQ(player->getDirection(), Vector(0, -1));
    EXPECT_EQ(spriteLabel(player), "player-up");
}

TEST_F(PlayerTest, KeyAlongTheCurrentAxisIsUsedUpWithoutEffect) {
    for (const bw::Key key : {bw::KEY_A, bw::KEY_D}) {
        stopCues(CUES);
        auto* player = new Player;
        sendKey(player, key);
        const int used = iterateUntil([&] { return player->getQueuedDirection() == NO_POSITION; });
        ASSERT_GE(used, 0) << key;
        EXPECT_EQ(player->getDirection(), Vector(1, 0)) << key;
        // No snap either: the spider is still past (1, 1), not on it.
        EXPECT_GT(player->getPosition().getX(), at(1, 1).getX()) << key;
        EXPECT_LT(player->getPosition().getX(), at(1, 1).getX() + 0.6f) << key;
        expectCue("player-shift", false);
        finishIteration();
        // Used up at (1, 1): nothing waits for a later intersection.
        ASSERT_GE(iterateUntil([&] { return player->getPosition().getX() > at(2.2f, 1).getX(); }), 0);
        EXPECT_EQ(player->getDirection(), Vector(1, 0));
        world.markForDelete(player);
        finishIteration();
    }
}

TEST_F(PlayerTest, VerticalRunUsesUpAVerticalKeyAndTakesAHorizontalOne) {
    // Moving down column 2, W is refused and used up at (2, 2); A pressed afterwards is taken
    // at (2, 3).
    Player* player = placePlayer(Vector(2, 1.5f), Vector(0, 1));
    sendKey(player, bw::KEY_W);
    ASSERT_GE(iterateUntil([&] { return player->getQueuedDirection() == NO_POSITION; }), 0);
    EXPECT_EQ(player->getDirection(), Vector(0, 1));
    EXPECT_GT(player->getPosition().getY(), at(2, 2).getY());
    EXPECT_LT(player->getPosition().getY(), at(2, 2).getY() + 0.25f);
    finishIteration();
    sendKey(player, bw::KEY_A);
    ASSERT_GE(iterateUntil([&] { return player->getDirection() != Vector(0, 1); }), 0);
    EXPECT_EQ(player->getDirection(), Vector(-1, 0));
    EXPECT_EQ(player->getPosition(), at(2, 3));
}

// --- Falling ---------------------------------------------------------------------------------

TEST_F(PlayerTest, FallsOnTheStepItPassesAnIntersectionWhoseStringAheadIsCut) {
    web().severConnection(Vector(1, 1), Vector(2, 1));
    auto* player = new Player;
    Vector before_step;
    const int died = iterateUntil([&] {
        if (!player->isDying()) before_step = player->getPosition() + Vector(0.6f, 0);
        return player->isDying();
    });
    ASSERT_GE(died, 0);
    EXPECT_GT(before_step.getX(), at(1, 1).getX());
    EXPECT_LT(before_step.getX(), at(1, 1).getX() + 0.6f);
    EXPECT_EQ(player->getLastStep(), died) << "the step of death";
    EXPECT_EQ(countLogLines("Player is dying"), 1);
    EXPECT_EQ(spriteLabel(player), "player-fall");
    EXPECT_EQ(player->getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(player->getAltitude(), 3);
    EXPECT_FLOAT_EQ(player->getSpeed(), 0.5f);
    EXPECT_EQ(player->getDirection(), Vector(1, 0)) << "drifts on";
    expectCue("player-fall", true);
}

struct FallCase {
    const char* name;
    Vector start;     // web coordinate
    Vector direction; // unit
    Vector cut_from;  // the intersection passed
    Vector cut_to;    // the one the string ahead leads to
};

TEST_F(PlayerTest, FallsInEveryDirectionOnlyWhereTheStringAheadIsCut) {
    const FallCase cases[] = {
        {"right", Vector(4.5f, 3), Vector(1, 0), Vector(5, 3), Vector(6, 3)},
        {"left", Vector(5.5f, 2), Vector(-1, 0), Vector(5, 2), Vector(4, 2)},
        {"up", Vector(2, 3.5f), Vector(0, -1), Vector(2, 3), Vector(2, 2)},
        {"down", Vector(4, 1.5f), Vector(0, 1), Vector(4, 2), Vector(4, 3)},
    };
    for (const FallCase& fall : cases) {
        for (const bool cut : {false, true}) {
            web().reset();
            if (cut) web().severConnection(fall.cut_from, fall.cut_to);
            Player* player = placePlayer(fall.start, fall.direction);
            const int died = iterateUntil([&] { return player->isDying(); }, 40);
            EXPECT_EQ(died >= 0, cut) << fall.name << (cut ? " cut" : " intact");
            if (cut) {
                // On the step after passing the intersection: less than one step's run past it.
                const Vector past = player->getPosition() - web().webToWorld(fall.cut_from);
                const float along = past.getX() * fall.direction.getX() + past.getY() * fall.direction.getY();
                EXPECT_GT(along, 0) << fall.name;
                EXPECT_LT(along, 0.61f) << fall.name;
            }
            world.markForDelete(player);
            finishIteration();
        }
    }
}

TEST_F(PlayerTest, CutStringBehindDoesNotMatterOnlyTheOneAhead) {
    web().severConnection(Vector(0, 1), Vector(1, 1)); // the one it runs in on
    auto* player = new Player;
    ASSERT_GE(iterateUntil([&] { return player->getPosition().getX() > at(2.5f, 1).getX(); }), 0);
    EXPECT_FALSE(player->isDying());
}

TEST_F(PlayerTest, TurnTowardsAnIntactStringSavesTheSpider) {
    web().severConnection(Vector(1, 1), Vector(2, 1));
    auto* player = new Player;
    sendKey(player, bw::KEY_S);
    ASSERT_GE(iterateUntil([&] { return player->getPosition().getY() > at(1, 2.5f).getY(); }), 0);
    EXPECT_FALSE(player->isDying());
    EXPECT_EQ(player->getDirection(), Vector(0, 1));
}

TEST_F(PlayerTest, TurnTowardsACutStringFallsAlthoughStraightAheadIsIntact) {
    web().severConnection(Vector(1, 1), Vector(1, 2));
    auto* player = new Player;
    sendKey(player, bw::KEY_S);
    const int died = iterateUntil([&] { return player->isDying(); }, 60);
    ASSERT_GE(died, 0);
    EXPECT_EQ(player->getDirection(), Vector(0, 1)) << "the fall test uses the direction after the turn";
    EXPECT_EQ(player->getPosition().getX(), at(1, 1).getX());
}

TEST_F(PlayerTest, EscapeMakesTheSpiderFallOnce) {
    auto* player = new Player;
    iterate();
    const Vector direction = player->getDirection();
    EXPECT_EQ(sendKey(player, bw::KEY_ESCAPE), 1);
    EXPECT_TRUE(player->isDying());
    EXPECT_EQ(spriteLabel(player), "player-fall");
    EXPECT_EQ(player->getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(player->getAltitude(), 3);
    EXPECT_FLOAT_EQ(player->getSpeed(), 0.5f);
    EXPECT_EQ(player->getDirection(), direction);
    expectCue("player-fall", true);

    stopCues(CUES);
    sendKey(player, bw::KEY_ESCAPE);
    player->die();
    iterate();
    EXPECT_EQ(countLogLines("Player is dying"), 1);
    EXPECT_EQ(player->getLastStep(), 100) << "frozen at the last step heard alive";
    expectCue("player-fall", false);
}

TEST_F(PlayerTest, DyingSpiderDriftsThroughTheWebAndTheBorder) {
    useFallAnimation(10); // long enough to watch the whole drift
    charge(3);
    Player* player = placePlayer(Vector(5.5f, 1), Vector(1, 0));
    iterate();
    sendKey(player, bw::KEY_ESCAPE);
    sendKey(player, bw::KEY_S);
    EXPECT_EQ(player->getQueuedDirection(), Vector(0, 1)) << "keys still queue";
    for (int i = 0; i < 60; ++i) iterate();
    EXPECT_GT(player->getPosition().getX(), at(7, 1).getX()) << "no bounce at the border";
    EXPECT_EQ(player->getDirection(), Vector(1, 0)) << "no turn at (6, 1)";
    EXPECT_EQ(player->getPosition().getY(), at(7, 1).getY());
    EXPECT_EQ(shotCount(), 0);
    EXPECT_EQ(silk().getCharge(), 3);
}

TEST_F(PlayerTest, DyingSpiderTouchesNothing) {
    Player* player = placePlayer(Vector(2, 1), Vector(1, 0));
    auto* fly = new bw::Object;
    fly->setType("Fly");
    fly->setSolidness(bw::PASSABLE);
    fly->setBox(bw::Box(Vector(-1, -1), 2, 2));
    fly->setPosition(player->getPosition() + Vector(1, 0));
    EXPECT_EQ(world.getCollisions(player).getCount(), 1);
    player->die();
    EXPECT_EQ(world.getCollisions(player).getCount(), 0);
}

// --- Game over -------------------------------------------------------------------------------

TEST_F(PlayerTest, GameOverComesOnTheThirtiethStepAfterDeathWithAFortyStepFall) {
    useFallAnimation(4);
    GameStart& game = GameStart::getInstance();
    ASSERT_NE(game.getState(), GAME_OVER);
    web().severConnection(Vector(1, 1), Vector(2, 1));
    auto* player = new Player;
    const int died = iterateUntil([&] { return player->isDying(); });
    ASSERT_GE(died, 0);
    finishIteration();

    while (step < died + 30) {
        iterate();
        ASSERT_NE(game.getState(), GAME_OVER) << "too early, step " << step - 1;
        ASSERT_EQ(spawnedSaucerLines(), 0);
    }
    EXPECT_EQ(iterateUntil([&] { return true; }), died + 30);
    EXPECT_EQ(game.getState(), GAME_OVER);
    EXPECT_EQ(spawnedSaucerLines(), 6);
    finishIteration();
    EXPECT_EQ(world.objectsOfType("Player").getCount(), 0) << "the controller deleted the player";
}

TEST_F(PlayerTest, EscapeBetweenStepsCountsFromTheLastStepHeardAlive) {
    useFallAnimation(4);
    GameStart& game = GameStart::getInstance();
    auto* player = new Player;
    iterate();
    iterate();
    sendKey(player, bw::KEY_ESCAPE); // as the input pass of the next iteration does
    ASSERT_EQ(player->getLastStep(), 101);
    while (step < 101 + 30) {
        iterate();
        ASSERT_NE(game.getState(), GAME_OVER) << "too early, step " << step - 1;
    }
    iterate();
    EXPECT_EQ(game.getState(), GAME_OVER);
    EXPECT_EQ(spawnedSaucerLines(), 6) << "asked once";
}

TEST_F(PlayerTest, GameOverFollowsTheLengthOfTheFallAnimation) {
    // A fall of ten frames of two steps: game over 10 steps after death.
    useFallAnimation(2);
    GameStart& game = GameStart::getInstance();
    auto* player = new Player;
    iterate();
    player->die();
    const int death = player->getLastStep();
    int over = -1;
    for (int i = 0; i < 40 && over < 0; ++i) {
        const int count = iterate();
        if (game.getState() == GAME_OVER) over = count;
    }
    EXPECT_EQ(over, death + 10);
}

TEST_F(PlayerTest, FallShorterThanTheLeadEndsTheGameOnTheStepOfDeath) {
    useFallAnimation(1);
    GameStart& game = GameStart::getInstance();
    web().severConnection(Vector(1, 1), Vector(2, 1));
    auto* player = new Player;
    ASSERT_GE(iterateUntil([&] { return player->isDying(); }), 0);
    EXPECT_EQ(game.getState(), GAME_OVER);
}

// --- Bouncing and firing ---------------------------------------------------------------------

struct BounceCase {
    const char* name;
    Vector start;           // web coordinate, half a string from the border
    Vector direction;       // outward
    std::uint32_t shot_bit; // the shot flies back into the web
    const char* player_sprite;
    const char* shot_sprite;
};

const BounceCase BOUNCES[] = {
    {"right", Vector(6.5f, 1), Vector(1, 0), LEFT, "player-left", "silk-shot-left"},
    {"left", Vector(0.5f, 2), Vector(-1, 0), RIGHT, "player-right", "silk-shot-right"},
    {"top", Vector(3, 0.5f), Vector(0, -1), DOWN, "player-down", "silk-shot-down"},
    {"bottom", Vector(6, 4.5f), Vector(0, 1), UP, "player-up", "silk-shot-up"},
};

TEST_F(PlayerTest, ChargedBounceAtEachBorderFiresBackIntoTheWeb) {
    for (const BounceCase& bounce : BOUNCES) {
        SCOPED_TRACE(bounce.name);
        silk().reset();
        charge(3);
        stopCues(CUES);
        Player* player = placePlayer(bounce.start, bounce.direction);
        const Vector half_string(bounce.direction.getX() * 0.5f, bounce.direction.getY() * 0.5f);
        const Vector border = web().webToWorld(bounce.start + half_string);
        sendKey(player, bw::KEY_S);
        const int bounced = iterateUntil([&] { return player->getDirection() != bounce.direction; });
        ASSERT_GE(bounced, 0);
        EXPECT_EQ(player->getDirection(), Vector(-bounce.direction.getX(), -bounce.direction.getY()));
        EXPECT_FLOAT_EQ(player->getSpeed(), 0.6f);
        EXPECT_EQ(spriteLabel(player), bounce.player_sprite);
        EXPECT_EQ(player->getQueuedDirection(), NO_POSITION) << "a bounce drops the queued key";
        // Bounced on the step after passing the border intersection.
        const Vector past = player->getPosition() - border;
        EXPECT_GT(past.getX() * bounce.direction.getX() + past.getY() * bounce.direction.getY(), 0);
        EXPECT_LT(past.getX() * bounce.direction.getX() + past.getY() * bounce.direction.getY(), 0.61f);

        ASSERT_EQ(shotCount(), 1);
        SilkShot* shot = firstShot();
        EXPECT_EQ(shot->getDirection(), Web::directionToOffset(bounce.shot_bit));
        EXPECT_EQ(spriteLabel(shot), bounce.shot_sprite);
        EXPECT_EQ(shot->getPosition(), player->getPosition()) << "starts where the spider is";
        EXPECT_EQ(silk().getCharge(), 0);
        expectCue("player-bounce", true);
        expectCue("rope-repair", true);

        finishIteration();
        world.markForDelete(player);
        world.markForDelete(shot);
        world.update();
    }
}

TEST_F(PlayerTest, BounceWithTooLittleChargeFiresNothing) {
    charge(2);
    Player* player = placePlayer(Vector(6.5f, 1), Vector(1, 0));
    ASSERT_GE(iterateUntil([&] { return player->getDirection() != Vector(1, 0); }), 0);
    EXPECT_EQ(player->getDirection(), Vector(-1, 0));
    EXPECT_EQ(shotCount(), 0);
    EXPECT_EQ(silk().getCharge(), 2);
    expectCue("player-bounce", true);
    expectCue("rope-repair", false);
}

TEST_F(PlayerTest, BounceUsesOneShotsWorthOfCharge) {
    charge(5);
    Player* player = placePlayer(Vector(0.5f, 4), Vector(-1, 0));
    ASSERT_GE(iterateUntil([&] { return player->getDirection() != Vector(-1, 0); }), 0);
    EXPECT_EQ(shotCount(), 1);
    EXPECT_EQ(silk().getCharge(), 2);
}

TEST_F(PlayerTest, SpiderRunsBackAcrossTheWebAfterABounce) {
    Player* player = placePlayer(Vector(6.5f, 3), Vector(1, 0));
    ASSERT_GE(iterateUntil([&] { return player->getPosition().getX() < at(4.5f, 3).getX(); }), 0);
    EXPECT_FALSE(player->isDying());
    EXPECT_EQ(player->getDirection(), Vector(-1, 0));
}

// --- Collisions ------------------------------------------------------------------------------

TEST_F(PlayerTest, TouchingAFlyPlaysTheEatSoundFromEitherSlot) {
    if (!audible) GTEST_SKIP() << "no audio device to observe the sound";
    Player player;
    bw::Object fly;
    fly.setType("Fly");
    bw::Object saucer;
    saucer.setType("Saucer");

    const bw::EventCollision with_saucer(&player, &saucer, Vector());
    EXPECT_EQ(player.eventHandler(&with_saucer), 0);
    EXPECT_FALSE(cueIsPlaying("player-eat"));

    const bw::EventCollision player_first(&player, &fly, Vector());
    EXPECT_EQ(player.eventHandler(&player_first), 0);
    EXPECT_TRUE(cueIsPlaying("player-eat"));

    stopCues(CUES);
    const bw::EventCollision fly_first(&fly, &player, Vector());
    EXPECT_EQ(player.eventHandler(&fly_first), 0);
    EXPECT_TRUE(cueIsPlaying("player-eat"));
}

TEST_F(PlayerTest, CollisionsChangeNothingAboutTheSpider) {
    Player player;
    bw::Object fly;
    fly.setType("Fly");
    const bw::EventCollision collision(&fly, &player, Vector());
    EXPECT_EQ(player.eventHandler(&collision), 0);
    EXPECT_FALSE(player.isDying());
    EXPECT_EQ(player.getDirection(), Vector(1, 0));
    EXPECT_EQ(player.getQueuedDirection(), NO_POSITION);
}

} // namespace
