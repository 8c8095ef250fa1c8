// Objects (ids, altitude, movement, sprites and their animation), the lists that hold them, and
// the world: its update (deletion, movement, collisions, out events), drawing order, shut-down,
// and the broadcasting of events to every object in it.
#include "WorldManager.h"

#include "EventKeyboard.h"
#include "EventStep.h"
#include "LogManager.h"
#include "ObjectListIterator.h"
#include "ResourceManager.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

using bw::Object;
using bw::ObjectList;
using bw::Vector;
using Journal = std::vector<std::string>;
using Objects = std::vector<Object*>;

namespace {

// The first object of the program, made during static initialisation before any test runs.
// The log manager is created first so that it outlives the world at exit.
const int first_object_id = (bw::LogManager::getInstance(), Object().getId());

/// The frame index before each of count draws: the frame each draw shows.
std::vector<int> framesShown(Object& object, int count) {
    std::vector<int> shown;
    for (int i = 0; i < count; ++i, object.draw()) shown.push_back(object.getFrameIndex());
    return shown;
}

/// The entries of a list, walked with the iterator's first/isDone/next protocol.
Objects entries(const ObjectList& list) {
    Objects result;
    bw::ObjectListIterator it(&list);
    for (it.first(); !it.isDone(); it.next()) result.push_back(it.currentObject());
    return result;
}

/// The fixture's plain objects a to d are made before the world starts, so they are not in it.
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
    Object a, b, c, d;
};

// Ids count up and are never reused; objects live in the world until destroyed. An altitude
// above the maximum is refused with a warning.
TEST_F(WorldManagerTest, IdsCountUpObjectsLiveInTheWorldAndAltitudeStaysInRange) {
    EXPECT_EQ(first_object_id, 0);
    delete new Object;
    Object e;
    EXPECT_EQ(std::tuple(e.getId(), e.getType(), e.getSolidness()), std::tuple(d.getId() + 2, "undefined_object", bw::BLOCKING));
    EXPECT_EQ(entries(world.getAllObjects()), Objects{&e});
    for (const auto& [altitude, result, kept] : {std::tuple{2, 0, 2}, {5, -1, 2}, {4, 0, 4}, {-1, 0, -1}, {0, 0, 0}}) {
        EXPECT_EQ(e.setAltitude(altitude), result) << altitude;
        EXPECT_EQ(e.getAltitude(), kept);
    }
    EXPECT_EQ(countLogLines("WARNING: attempted to set display altitude beyond MAX_ALTITUDE"), 1);
}

// Cells of the default window are 12.8 × 32 pixels, and velocities count in units of the
// shorter side: a vertical velocity of 1 moves 0.4 rows. The display need not be started.
// A direction is stored as given, not made a unit vector; from a velocity it is the velocity
// divided by its length, exactly one along an axis (multiplying by the reciprocal length gives
// 0.99999994 for 47). Predicting does not move.
TEST_F(WorldManagerTest, VelocityIsSpeedTimesDirectionCorrectedForCellAspect) {
    a.setPosition(Vector(10, 10));
    a.setVelocity(Vector(3, 4));
    EXPECT_EQ(std::tuple(a.getSpeed(), a.getDirection()), std::tuple(5.0f, Vector(0.6f, 0.8f)));
    EXPECT_LT(a.predictPosition().distance(Vector(13, 11.6f)), 1e-5f);
    a.setVelocity(Vector(0, 0));
    EXPECT_EQ(std::tuple(a.getDirection(), a.predictPosition()), std::tuple(Vector(0, 0), Vector(10, 10)));
    a.setDirection(Vector(-2, -2));
    a.setSpeed(1.25f);
    EXPECT_EQ(std::tuple(a.getVelocity(), a.getPosition()), std::tuple(Vector(-2.5f, -2.5f), Vector(10, 10)));
    EXPECT_LT(a.predictPosition().distance(Vector(7.5f, 9)), 1e-5f);
    b.setVelocity(Vector(-47, 0));
    EXPECT_EQ(std::tuple(b.getDirection(), b.getVelocity()), std::tuple(Vector(-1, 0), Vector(-47, 0)));
}

TEST_F(WorldManagerTest, SpriteFitsACentredBoxUnlessToldNotToAndUnknownLabelsChangeNothing) {
    a.setPosition(Vector(20, 10));
    a.setSprite(loadTestSprite("wide", {2}, 5, 3));
    EXPECT_EQ(std::tuple(a.getSlowdownCount(), a.getWorldBox().getCorner(), a.getBox().getHorizontal()),
              std::tuple(2, Vector(17.5f, 8.5f), 5.0f));
    a.setBox(bw::Box(Vector(-4, -4), 8, 8));
    const std::string small = loadTestSprite("small", {1});
    a.setSprite(small, false);
    a.setSprite("no such sprite");
    EXPECT_EQ(std::tuple(a.getSprite(), a.getBox().getCorner(), a.getBox().getHorizontal()),
              std::tuple(bw::ResourceManager::getInstance().getSprite(small), Vector(-4, -4), 8.0f));
    EXPECT_TRUE(logHasLineStartingWith("WARNING:"));
}

// Each frame is shown for its slowdown; a slowdown of zero, or a countdown set to zero or below
// by hand, freezes the animation where it is. Without a sprite nothing is drawn.
TEST_F(WorldManagerTest, FramesAdvanceByTheirSlowdowns) {
    using Frames = std::vector<int>;
    for (const auto& [name, slowdowns, shown] :
         {std::tuple{"uneven", Frames{2, 3, 1}, Frames{0, 0, 1, 1, 1, 2, 0, 0, 1, 1}},
          {"stops", Frames{1, 0, 1}, Frames{0, 1, 1, 1, 1}}, {"single", Frames{2}, Frames{0, 0, 0, 0, 0}},
          {"frameless", Frames{}, Frames{0, 0, 0}}}) {
        Object object;
        object.setSprite(loadTestSprite(name, slowdowns));
        EXPECT_EQ(framesShown(object, static_cast<int>(shown.size())), shown) << name;
    }
    a.setSprite(loadTestSprite("runs", {1, 1}));
    a.setSlowdownCount(-3);
    EXPECT_EQ(std::tuple(framesShown(a, 3), a.getSlowdownCount(), d.draw()), std::tuple(Frames{0, 0, 0}, -3, -1));
}

// A list appends until full, then refuses silently. Removing takes the first occurrence and
// keeps the order. Iterators follow the current count: one that is done goes on when the list
// grows (being done is no index error); one left beyond a shrunk list is not done. An index
// outside the entries warns at level 1 and gives null, even where a slot once held a pointer.
TEST_F(WorldManagerTest, ListInsertsUntilFullRemovesTheFirstOccurrenceAndIteratorsFollowTheCount) {
    ObjectList full, list;
    for (int i = 0; i < bw::MAX_OBJECTS; ++i) ASSERT_EQ(full.insert(i == 0 ? &a : &c), 0) << i;
    EXPECT_EQ(std::tuple(full.isFull(), full.insert(&d), full.contains(&d)), std::tuple(true, -1, false));
    EXPECT_EQ(std::tuple(full[0], full[bw::MAX_OBJECTS - 1]), std::tuple(&a, &c));
    bw::ObjectListIterator it(&list);
    EXPECT_EQ(std::tuple(it.isDone(), it.currentObject()), std::tuple(true, nullptr));
    for (Object* object : {&a, &b, &c, &a}) list.insert(object);
    EXPECT_EQ(std::tuple(it.isDone(), it.currentObject()), std::tuple(false, &a));
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(std::tuple(entries(list), list.remove(&d)), std::tuple(Objects{&b, &c, &a}, false));
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(std::tuple(entries(list), list.contains(&a)), std::tuple(Objects{&b, &c}, false));
    for (int i = 0; i < 3; ++i) it.next();
    EXPECT_EQ(std::tuple(it.isDone(), it.currentObject(), list[-1], list[2]), std::tuple(false, nullptr, nullptr, nullptr));
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 3);
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(list[7], nullptr);
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 3);
    list.clear();
    EXPECT_EQ(std::tuple(list.isEmpty(), list.remove(&b)), std::tuple(true, false));
}

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
            SCOPED_TRACE(testing::Message() << "mover " << m << ", resting " << r);
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
    const bw::Box cell = probe->getBox(), wide(Vector(0, 0), 4, 2); // half sizes 0.5; 2 and 1 (told apart)
    const struct {
        bw::Box box;
        Vector where;
        bool out;
    } cases[] = {{cell, {80.5f, 10}, false}, {cell, {80.6f, 10}, true}, {cell, {-0.5f, 10}, false}, {cell, {-0.6f, 10}, true},
                 {cell, {40, -0.5f}, false}, {cell, {40, -0.6f}, true}, {cell, {40, 24.5f}, false}, {cell, {40, 24.6f}, true},
                 {wide, {82, 10}, false}, {wide, {82.1f, 10}, true}, {wide, {40, 25}, false}, {wide, {40, 25.1f}, true}};
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
    for (Object* fly : {beyond, middle}) fly->setType("Fly");
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
    (new RecordingObject("A"))->setId(900);
    auto* queued = new RecordingObject("B");
    (new RecordingObject("C"))->setId(7);
    queued->setId(8);
    queued->setType("Fly");
    world.markForDelete(queued);
    const std::string deleting = "Shutting down: deleting ";
    const Journal lines{"Shutting down WorldManager", deleting + "RecordingObject with id 900",
                        deleting + "Fly with id 8", deleting + "RecordingObject with id 7"};
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
