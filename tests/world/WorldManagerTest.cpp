// The world's lists, its update (deletion, movement, collisions, out events), drawing order and
// shut-down, and the broadcasting of events to every object in it.
#include "WorldManager.h"

#include "EventKeyboard.h"
#include "EventStep.h"
#include "LogManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using bw::Object;
using bw::Vector;
using Journal = std::vector<std::string>;
using Objects = std::vector<Object*>;

namespace {

Objects entries(const bw::ObjectList& list) {
    Objects result;
    for (Object* object : list) result.push_back(object);
    return result;
}

class WorldManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        ASSERT_EQ(world.startUp(), 0);
        journal.clear();
    }
    void TearDown() override {
        world.shutDown(); // destroys whatever a test left in the world
        bw::LogManager::getInstance().shutDown();
    }
    /// Hands the event to every object, as the game loop does; any manager can broadcast.
    static void broadcast(const bw::Event& event) { bw::LogManager::getInstance().onEvent(&event); }

    TempWorkDir dir;
    bw::WorldManager& world = bw::WorldManager::getInstance();
    Journal& journal = RecordingObject::journal();
};

TEST_F(WorldManagerTest, ObjectMarkedInStepHandlerIsGoneBeforeAnythingMoves) {
    auto* mover = new RecordingObject("M", Vector(10, 10));
    auto* victim = new RecordingObject("V", Vector(10.5f, 10));
    mover->setVelocity(Vector(1, 0));
    mover->on_event = [&](const bw::Event*) { world.markForDelete(victim); };
    broadcast(bw::EventStep(0));
    world.update();
    // Had the victim still stood there, the blocked mover would have collided with it.
    EXPECT_EQ(journal, (Journal{"M step", "V step", "V deleted"}));
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 11);
}

TEST_F(WorldManagerTest, ObjectMarkedTwiceIsDrawnOnceMoreThenDestroyedOnce) {
    auto* mover = new RecordingObject("M", Vector(10, 10), bw::PASSABLE);
    auto* hit = new RecordingObject("H", Vector(10.5f, 10));
    mover->setVelocity(Vector(1, 0));
    hit->on_event = [&](const bw::Event*) {
        EXPECT_EQ(world.markForDelete(hit), 0);
        EXPECT_EQ(world.markForDelete(hit), 0);
    };
    world.update();
    world.draw();
    EXPECT_EQ(journal, (Journal{"M collision M>H", "H collision M>H", "M draw", "H draw"}));
    mover->setVelocity(Vector(0, 0));
    world.update();
    world.update();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "H deleted"), 1);
    EXPECT_EQ(entries(world.getAllObjects()), Objects{mover});
}

TEST_F(WorldManagerTest, ObjectTakenOutOfTheWorldWhileQueuedIsStillDestroyedByTheNextUpdate) {
    auto* stays = new RecordingObject("S");
    auto* queued = new RecordingObject("Q");
    world.markForDelete(queued);
    EXPECT_TRUE(world.removeObject(queued));
    EXPECT_EQ(entries(world.getAllObjects()), Objects{stays});
    world.update();
    EXPECT_EQ(journal, Journal{"Q deleted"});
    world.update();
    EXPECT_EQ(journal, Journal{"Q deleted"}) << "destroyed once";
}

TEST_F(WorldManagerTest, CollisionsBetweenEverySolidnessPair) {
    for (bw::Solidness m : {bw::BLOCKING, bw::PASSABLE, bw::INTANGIBLE}) {
        for (bw::Solidness r : {bw::BLOCKING, bw::PASSABLE, bw::INTANGIBLE}) {
            SCOPED_TRACE("mover " + std::to_string(m) + ", resting " + std::to_string(r));
            world.startUp();
            journal.clear();
            // The resting object comes first in the list; the boxes overlap by half a cell.
            const auto rest = std::make_unique<RecordingObject>("R", Vector(10, 10), r);
            const auto mover = std::make_unique<RecordingObject>("M", Vector(10.5f, 10), m);
            mover->setVelocity(Vector(1, 0));
            world.update();
            const bool meet = m != bw::INTANGIBLE && r != bw::INTANGIBLE;
            const bool refused = m == bw::BLOCKING && r == bw::BLOCKING;
            EXPECT_EQ(journal, (meet ? Journal{"M collision M>R", "R collision M>R"} : Journal{}));
            EXPECT_FLOAT_EQ(mover->getPosition().getX(), refused ? 10.5f : 11.5f);
            EXPECT_EQ(rest->collision_positions, mover->collision_positions);
            EXPECT_EQ(world.moveObject(mover.get(), Vector(10.5f, 11)), refused ? -1 : 0);
        }
    }
}

TEST_F(WorldManagerTest, RefusedMoveStillTellsEveryObjectItTouches) {
    auto* first = new RecordingObject("A", Vector(10, 10));
    auto* ghost = new RecordingObject("G", Vector(10, 10.5f), bw::INTANGIBLE);
    auto* second = new RecordingObject("B", Vector(10.5f, 10.5f), bw::PASSABLE);
    auto* mover = new RecordingObject("M", Vector(10.5f, 10));
    auto* later = new RecordingObject("L", Vector(40, 10));
    mover->setVelocity(Vector(1, 0));
    later->setVelocity(Vector(0, 1));
    world.update();
    EXPECT_EQ(journal, (Journal{"M collision M>A", "A collision M>A", "M collision M>B", "B collision M>B"}));
    world.update(); // the mover keeps its velocity and is refused again
    EXPECT_EQ(journal.size(), 8u);
    EXPECT_EQ(mover->getPosition(), Vector(10.5f, 10));
    EXPECT_EQ(mover->getVelocity(), Vector(1, 0));
    EXPECT_FLOAT_EQ(mover->collision_positions.at(0).getX(), 11.5f); // where it was going
    EXPECT_FLOAT_EQ(later->getPosition().getY(), 10.8f); // objects after it still move
    EXPECT_EQ(entries(world.getCollisions(mover)), (Objects{first, second}));
    EXPECT_TRUE(world.getCollisions(ghost).isEmpty());
}

TEST_F(WorldManagerTest, OutEventAtEveryMoveBeyondAStrictEdge) {
    const struct {
        Vector where;
        bool out;
    } cases[] = {{{80.5f, 10}, false}, {{80.6f, 10}, true}, {{-0.5f, 10}, false}, {{-0.6f, 10}, true},
                 {{40, -0.5f}, false}, {{40, -0.6f}, true}, {{40, 24.5f}, false}, {{40, 24.6f}, true}};
    auto* probe = new RecordingObject("P", Vector(40, 10), bw::INTANGIBLE); // hears it too
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where.toString());
        journal.clear();
        EXPECT_EQ(world.moveObject(probe, c.where), 0);
        EXPECT_EQ(journal, c.out ? Journal{"P out"} : Journal{});
    }
    // Half the box's size on each side of the position, wherever the box's corner lies.
    probe->setBox(bw::Box(Vector(0, 0), 4, 2));
    journal.clear();
    world.moveObject(probe, Vector(81.9f, 24.9f));
    EXPECT_TRUE(journal.empty());
    world.moveObject(probe, Vector(-2.1f, 10));
    world.moveObject(probe, Vector(10, 25.1f));
    EXPECT_EQ(journal, (Journal{"P out", "P out"}));
    // A refused move does not look at the window.
    probe->setSolidness(bw::BLOCKING);
    new RecordingObject("B", Vector(10, 26));
    journal.clear();
    EXPECT_EQ(world.moveObject(probe, Vector(10, 27)), -1);
    EXPECT_EQ(journal, (Journal{"P collision P>B", "B collision P>B"}));
}

TEST_F(WorldManagerTest, OutOfWindowRuleJudgesTheGivenPlaceWithoutMovingOrTellingTheObject) {
    // Objects that move themselves ask the rule behind out events for a place of their choosing.
    auto* probe = new RecordingObject("P", Vector(40, 10), bw::INTANGIBLE);
    probe->setBox(bw::Box(Vector(0, 0), 4, 2)); // half sizes 2 and 1, wherever the corner lies
    const struct {
        Vector where;
        bool out;
    } cases[] = {{{82, 10}, false}, {{82.1f, 10}, true}, {{-2, 10}, false}, {{-2.1f, 10}, true},
                 {{40, -1}, false}, {{40, -1.1f}, true}, {{40, 25}, false}, {{40, 25.1f}, true}};
    for (const auto& c : cases) EXPECT_EQ(world.isOutOfWindow(probe, c.where), c.out) << c.where.toString();
    EXPECT_EQ(probe->getPosition(), Vector(40, 10));
    EXPECT_TRUE(journal.empty());
}

TEST_F(WorldManagerTest, DrawsByAltitudeThenListOrderAndSkipsNegative) {
    const std::pair<const char*, int> layers[] = {{"A", 4}, {"B", 0}, {"D", 1}, {"C", 2}, {"F", -1}, {"E", 1}};
    for (const auto& [name, altitude] : layers) ASSERT_EQ((new RecordingObject(name))->setAltitude(altitude), 0);
    world.draw();
    EXPECT_EQ(journal, (Journal{"B draw", "D draw", "E draw", "C draw", "A draw"}));
}

TEST_F(WorldManagerTest, ShutDownDestroysEveryObjectInListOrder) {
    auto* a = new RecordingObject("A");
    auto* b = new RecordingObject("B");
    auto* c = new RecordingObject("C");
    a->setId(900); // list order, not id order
    b->setType("Fly");
    world.markForDelete(b);
    const Journal lines{"Shutting down WorldManager", "Shutting down: deleting RecordingObject with id 900",
                        "Shutting down: deleting Fly with id " + std::to_string(b->getId()),
                        "Shutting down: deleting RecordingObject with id " + std::to_string(c->getId())};
    world.shutDown();
    EXPECT_EQ(journal, (Journal{"A deleted", "B deleted", "C deleted"}));
    const Journal log = readLogLines();
    EXPECT_EQ(Journal(log.end() - 4, log.end()), lines);
    world.update(); // the queued object went with the rest and is not destroyed again
    EXPECT_EQ(journal.size(), 3u);
}

TEST_F(WorldManagerTest, BroadcastReachesEveryObjectInListOrderAndLogsTheCountAtLevelThree) {
    bw::LogManager::getInstance().setLogLevel(3);
    const bw::EventKeyboard press(bw::KEY_W, bw::KEY_PRESSED);
    broadcast(press);
    Journal expected;
    for (int i = 0; i < 12; ++i) {
        auto* object = new RecordingObject("O" + std::to_string(i));
        object->setId(i == 0 ? 1000 : -i); // list order, not id order
        expected.push_back(object->name + " keyboard");
    }
    world.onEvent(&press);
    EXPECT_EQ(journal, expected);
    bw::LogManager::getInstance().setLogLevel(2);
    broadcast(press);
    EXPECT_EQ(journal.size(), 24u);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 0 objects"), 1);
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 12 objects"), 1);
}

TEST_F(WorldManagerTest, ObjectCreatedInABroadcastHearsTheNextOneAndAMarkedOneStillHearsThisOne) {
    auto* creator = new RecordingObject("C");
    auto* marked = new RecordingObject("D");
    RecordingObject* late = nullptr;
    creator->on_event = [&](const bw::Event*) {
        if (late) return;
        late = new RecordingObject("L");
        world.markForDelete(marked);
    };
    const bw::EventKeyboard press(bw::KEY_SPACE, bw::KEY_PRESSED);
    broadcast(press);
    world.update();
    broadcast(press);
    EXPECT_EQ(journal, (Journal{"C keyboard", "D keyboard", "D deleted", "C keyboard", "L keyboard"}));
    EXPECT_EQ(countLogLines("Sending event of type \"bw::keyboard\" to 2 objects"), 2);
}

} // namespace
