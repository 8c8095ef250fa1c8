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
#include <utility>

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

// A queued object is gone before anything moves (had the victim still stood there, the blocked
// mover would have collided with it), but is drawn until then. Queued twice, or taken out of the
// world while queued, it is destroyed once, by the next update.
TEST_F(WorldManagerTest, QueuedObjectsAreDestroyedOnceBeforeAnythingMoves) {
    auto* mover = new RecordingObject("M", Vector(10, 10));
    auto* victim = new RecordingObject("V", Vector(10.5f, 10));
    auto* taken = new RecordingObject("T", Vector(40, 10));
    mover->setVelocity(Vector(1, 0));
    mover->on_event = [&](const bw::Event*) { EXPECT_EQ(world.markForDelete(victim) + world.markForDelete(victim), 0); };
    broadcast(bw::EventStep(0));
    world.markForDelete(taken);
    EXPECT_TRUE(world.removeObject(taken));
    world.draw();
    world.update();
    world.update();
    EXPECT_EQ(journal, (Journal{"M step", "V step", "T step", "M draw", "V draw", "V deleted", "T deleted"}));
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 12);
    EXPECT_EQ(entries(world.getAllObjects()), Objects{mover});
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

// A refused mover keeps its place and velocity and is refused again next time; the objects
// after it still move. A refused move does not look at the window.
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
    world.update();
    EXPECT_EQ(world.moveObject(mover, Vector(10.5f, -5)), -1);
    EXPECT_EQ(std::tuple(journal.size(), mover->getPosition(), mover->getVelocity()), std::tuple(12u, Vector(10.5f, 10), Vector(1, 0)));
    EXPECT_FLOAT_EQ(mover->collision_positions.at(0).getX(), 11.5f); // where it was going
    EXPECT_FLOAT_EQ(later->getPosition().getY(), 10.8f);
    EXPECT_EQ(std::tuple(entries(world.getCollisions(mover)), entries(world.getCollisions(ghost))), std::tuple(Objects{first, second}, Objects{}));
}

// Out of the window means the box, centred on the place (its corner is not used), lies wholly
// beyond an edge, judged strictly. Every move there tells the object; asking does not.
TEST_F(WorldManagerTest, OutOfWindowBeyondAStrictEdgeAndAnOutEventAtEveryMoveThere) {
    auto* probe = new RecordingObject("P", Vector(40, 10), bw::INTANGIBLE);
    const bw::Box cell = probe->getBox(), wide(Vector(0, 0), 4, 2); // half sizes 0.5; 2 and 1
    const struct {
        bw::Box box;
        Vector where;
        bool out;
    } cases[] = {{cell, {80.5f, 10}, false}, {cell, {80.6f, 10}, true},  {cell, {-0.5f, 10}, false},
                 {cell, {-0.6f, 10}, true},  {cell, {40, -0.5f}, false}, {cell, {40, -0.6f}, true},
                 {cell, {40, 24.5f}, false}, {cell, {40, 24.6f}, true},  {wide, {82, 10}, false},
                 {wide, {82.1f, 10}, true},  {wide, {-2, 10}, false},    {wide, {-2.1f, 10}, true},
                 {wide, {40, -1}, false},    {wide, {40, -1.1f}, true},  {wide, {40, 25}, false},
                 {wide, {40, 25.1f}, true}};
    for (const auto& [box, where, out] : cases) {
        probe->setBox(box);
        probe->setPosition(Vector(40, 10));
        EXPECT_EQ(std::tuple(world.isOutOfWindow(probe, where), journal.empty()), std::tuple(out, true)) << where.toString();
        EXPECT_EQ(world.moveObject(probe, where), 0);
        EXPECT_EQ(std::exchange(journal, {}), out ? Journal{"P out"} : Journal{}) << where.toString();
    }
}

// By position (the box does not count), inclusive of the radius, in list order.
TEST_F(WorldManagerTest, ObjectsInRangeAndOfType) {
    const Vector center(10, 10);
    auto* edge = new RecordingObject("E", Vector(13, 14));       // exactly 5 away
    auto* inside = new RecordingObject("I", Vector(6, 8));       // about 4.47 away
    auto* beyond = new RecordingObject("B", Vector(13, 14.01f)); // just over 5
    auto* wide = new RecordingObject("W", Vector(16, 10));       // 6 away, its box reaches 5 away
    wide->setBox(bw::Box(Vector(-2, -2), 4, 4));
    auto* middle = new RecordingObject("M", center);
    beyond->setType("Fly");
    middle->setType("Fly");
    EXPECT_EQ(entries(world.objectsInRange(center, 5)), (Objects{edge, inside, middle}));
    EXPECT_EQ(entries(world.objectsInRange(center, 4.5f)), (Objects{inside, middle}));
    EXPECT_EQ(entries(world.objectsInRange(center, 0)), Objects{middle});
    EXPECT_EQ(entries(world.objectsInRange(Vector(16, 10), 100)), (Objects{edge, inside, beyond, wide, middle}));
    EXPECT_EQ(std::tuple(entries(world.objectsOfType("Fly")), entries(world.objectsOfType("Fl"))),
              std::tuple(Objects{beyond, middle}, Objects{}));
    EXPECT_EQ(entries(world.objectsOfType("RecordingObject")), (Objects{edge, inside, wide}));
}

TEST_F(WorldManagerTest, DrawsByAltitudeThenListOrderAndSkipsNegative) {
    const std::pair<const char*, int> layers[] = {{"A", 4}, {"B", 0}, {"D", 1}, {"C", 2}, {"F", -1}, {"E", 1}};
    for (const auto& [name, altitude] : layers) ASSERT_EQ((new RecordingObject(name))->setAltitude(altitude), 0);
    world.draw();
    EXPECT_EQ(journal, (Journal{"B draw", "D draw", "E draw", "C draw", "A draw"}));
}

// Shut-down destroys every object in list order (not id order), a queued one among them, which
// the next update then leaves alone. Start-up forgets objects without destroying them.
TEST_F(WorldManagerTest, ShutDownDestroysEveryObjectInListOrder) {
    auto* a = new RecordingObject("A");
    auto* b = new RecordingObject("B");
    auto* c = new RecordingObject("C");
    a->setId(900);
    b->setType("Fly");
    world.markForDelete(b);
    const Journal lines{"Shutting down WorldManager", "Shutting down: deleting RecordingObject with id 900",
                        "Shutting down: deleting Fly with id " + std::to_string(b->getId()),
                        "Shutting down: deleting RecordingObject with id " + std::to_string(c->getId())};
    world.shutDown();
    world.update();
    EXPECT_EQ(journal, (Journal{"A deleted", "B deleted", "C deleted"}));
    const Journal log = readLogLines();
    EXPECT_EQ(Journal(log.end() - 4, log.end()), lines);
    const auto forgotten = std::make_unique<RecordingObject>("F");
    world.startUp();
    EXPECT_EQ(std::tuple(world.getAllObjects().getCount(), journal.size()), std::tuple(0, 3u));
}

// Every object hears a broadcast in list order (not id order), the count logged at level 3.
// One created during a broadcast hears the next; one queued during it still hears this one.
TEST_F(WorldManagerTest, BroadcastReachesEveryObjectInListOrder) {
    bw::LogManager::getInstance().setLogLevel(3);
    const bw::EventKeyboard press(bw::KEY_W, bw::KEY_PRESSED);
    broadcast(press);
    auto* creator = new RecordingObject("C");
    auto* marked = new RecordingObject("D");
    creator->setId(1000);
    marked->setId(-1);
    creator->on_event = [&, done = false](const bw::Event*) mutable {
        if (std::exchange(done, true)) return;
        new RecordingObject("L");
        world.markForDelete(marked);
    };
    broadcast(press);
    world.update();
    bw::LogManager::getInstance().setLogLevel(2);
    broadcast(press);
    EXPECT_EQ(journal, (Journal{"C keyboard", "D keyboard", "D deleted", "C keyboard", "L keyboard"}));
    EXPECT_EQ(std::tuple(countLogLines("Sending event of type \"bw::keyboard\" to 0 objects"),
                         countLogLines("Sending event of type \"bw::keyboard\" to 2 objects")), std::tuple(1, 1));
}

} // namespace
