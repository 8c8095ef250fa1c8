#include "WorldManager.h"

#include "EventCollision.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Object.h"

#include "LogReader.h"
#include "RecordingObject.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using bw::Object;
using bw::ObjectList;
using bw::Vector;
using Journal = std::vector<std::string>;

namespace {

/// The entries of a list, in order.
std::vector<Object*> entries(const ObjectList& list) {
    std::vector<Object*> result;
    for (Object* object : list) result.push_back(object);
    return result;
}

/// Hands one step event to every object in the world, as the game loop does before update.
void sendStep(int count) {
    const bw::EventStep step(count);
    for (Object* object : bw::WorldManager::getInstance().getAllObjects()) object->eventHandler(&step);
}

class WorldManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        ASSERT_EQ(world.startUp(), 0);
        journal.clear();
    }
    void TearDown() override {
        world.shutDown(); // destroys whatever a test left in the world
        log.shutDown();
    }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::WorldManager& world = bw::WorldManager::getInstance();
    Journal& journal = RecordingObject::journal();
};

TEST_F(WorldManagerTest, StartUpForgetsObjectsAndQueueWithoutDestroying) {
    EXPECT_TRUE(world.isStarted());
    EXPECT_EQ(countLogLines("Starting up WorldManager"), 1);
    auto* kept = new RecordingObject("K");
    auto* queued = new RecordingObject("Q");
    world.markForDelete(queued);

    EXPECT_EQ(world.startUp(), 0);
    EXPECT_TRUE(world.getAllObjects().isEmpty());
    EXPECT_EQ(countLogLines("Starting up WorldManager"), 2);
    world.update();
    EXPECT_TRUE(journal.empty()) << "startUp must not destroy, and must empty the queue";

    delete kept;
    delete queued;
    EXPECT_EQ(journal, (Journal{"K deleted", "Q deleted"}));
}

TEST_F(WorldManagerTest, AllObjectsIsASnapshotInCreationOrder) {
    auto* a = new RecordingObject("A");
    auto* b = new RecordingObject("B");
    const ObjectList before = world.getAllObjects();
    auto* c = new RecordingObject("C");
    EXPECT_EQ(entries(before), (std::vector<Object*>{a, b}));
    EXPECT_EQ(entries(world.getAllObjects()), (std::vector<Object*>{a, b, c}));
    EXPECT_TRUE(world.removeObject(a));
    EXPECT_FALSE(world.removeObject(a));
    EXPECT_EQ(entries(world.getAllObjects()), (std::vector<Object*>{b, c}));
    EXPECT_EQ(before.getCount(), 2);
    delete a;
}

TEST_F(WorldManagerTest, ObjectMarkedInStepHandlerIsGoneBeforeAnythingMoves) {
    auto* mover = new RecordingObject("M", Vector(10, 10));
    auto* victim = new RecordingObject("V", Vector(10.5f, 10));
    mover->setVelocity(Vector(1, 0));
    mover->on_event = [&](const bw::Event* event) {
        if (event->getType() == bw::EVENT_TYPE_STEP) {
            EXPECT_EQ(world.markForDelete(victim), 0);
        }
    };
    sendStep(0);
    world.update();
    // Had the victim still stood there, the blocked mover would have collided with it.
    EXPECT_EQ(journal, (Journal{"M step", "V step", "V deleted"}));
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 11);
    EXPECT_EQ(entries(world.getAllObjects()), (std::vector<Object*>{mover}));
}

TEST_F(WorldManagerTest, ObjectMarkedInCollisionIsDrawnOnceMoreAndGoesAtNextUpdate) {
    auto* mover = new RecordingObject("M", Vector(10, 10), bw::PASSABLE);
    auto* hit = new RecordingObject("H", Vector(10.5f, 10));
    mover->setVelocity(Vector(1, 0));
    hit->on_event = [&](const bw::Event* event) {
        if (event->getType() == bw::EVENT_TYPE_COLLISION) world.markForDelete(hit);
    };
    world.update();
    world.draw();
    EXPECT_EQ(journal, (Journal{"M collision M>H", "H collision M>H", "M draw", "H draw"}));

    journal.clear();
    mover->setVelocity(Vector(0, 0));
    world.update();
    EXPECT_EQ(journal, (Journal{"H deleted"}));
    EXPECT_EQ(entries(world.getAllObjects()), (std::vector<Object*>{mover}));
}

TEST_F(WorldManagerTest, ObjectMarkedTwiceIsDestroyedOnce) {
    auto* twice = new RecordingObject("T");
    auto* other = new RecordingObject("O");
    EXPECT_EQ(world.markForDelete(twice), 0);
    EXPECT_EQ(world.markForDelete(other), 0);
    EXPECT_EQ(world.markForDelete(twice), 0);
    world.update();
    EXPECT_EQ(journal, (Journal{"T deleted", "O deleted"}));
    world.update();
    EXPECT_EQ(journal.size(), 2u);
    EXPECT_TRUE(world.getAllObjects().isEmpty());
}

TEST_F(WorldManagerTest, CollisionsBetweenEverySolidnessPair) {
    const bw::Solidness kinds[] = {bw::BLOCKING, bw::PASSABLE, bw::INTANGIBLE};
    const char* names[] = {"BLOCKING", "PASSABLE", "INTANGIBLE"};
    for (int m = 0; m < 3; ++m) {
        for (int r = 0; r < 3; ++r) {
            SCOPED_TRACE(std::string("mover ") + names[m] + ", resting " + names[r]);
            world.startUp();
            journal.clear();
            // The resting object comes first in the list; the boxes overlap by half a cell.
            const auto rest = std::make_unique<RecordingObject>("R", Vector(10, 10), kinds[r]);
            const auto mover = std::make_unique<RecordingObject>("M", Vector(10.5f, 10), kinds[m]);
            mover->setVelocity(Vector(1, 0));
            world.update();

            const bool meet = kinds[m] != bw::INTANGIBLE && kinds[r] != bw::INTANGIBLE;
            const bool refused = kinds[m] == bw::BLOCKING && kinds[r] == bw::BLOCKING;
            const Journal met{"M collision M>R", "R collision M>R"};
            EXPECT_EQ(journal, meet ? met : Journal{});
            EXPECT_FLOAT_EQ(mover->getPosition().getX(), refused ? 10.5f : 11.5f);
            EXPECT_EQ(rest->getPosition(), Vector(10, 10));
            if (meet) {
                ASSERT_EQ(mover->collision_positions.size(), 1u);
                EXPECT_FLOAT_EQ(mover->collision_positions[0].getX(), 11.5f);
                EXPECT_EQ(rest->collision_positions, mover->collision_positions);
            }

            // The same through moveObject directly.
            mover->setPosition(Vector(10.5f, 10));
            journal.clear();
            EXPECT_EQ(world.moveObject(mover.get(), Vector(10.5f, 11)), refused ? -1 : 0);
            EXPECT_EQ(mover->getPosition(), refused ? Vector(10.5f, 10) : Vector(10.5f, 11));
            EXPECT_EQ(journal.size(), meet ? 2u : 0u);
            if (meet) {
                EXPECT_EQ(mover->collision_positions.back(), Vector(10.5f, 11));
            }
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
    EXPECT_EQ(mover->getPosition(), Vector(10.5f, 10));
    // Objects after the refused one still move in the same pass.
    EXPECT_FLOAT_EQ(later->getPosition().getY(), 10.4f);

    // The mover keeps its velocity and is refused again while the overlap lasts.
    journal.clear();
    world.update();
    EXPECT_EQ(journal.size(), 4u);
    EXPECT_EQ(mover->getPosition(), Vector(10.5f, 10));
    EXPECT_EQ(world.moveObject(mover, Vector(20, 10)), -1);
    EXPECT_EQ(mover->getVelocity(), Vector(1, 0));

    EXPECT_EQ(entries(world.getCollisions(mover)), (std::vector<Object*>{first, second}));
    EXPECT_TRUE(world.getCollisions(ghost).isEmpty());
}

TEST_F(WorldManagerTest, CollisionIsTestedWhereTheMoverStandsBeforeTheMove) {
    // PASSABLE into a resting PASSABLE object: the move that makes them overlap is silent.
    auto* rest = new RecordingObject("R", Vector(11.8f, 10), bw::PASSABLE);
    auto* mover = new RecordingObject("M", Vector(10, 10), bw::PASSABLE);
    mover->setVelocity(Vector(1, 0));
    world.update();
    EXPECT_TRUE(journal.empty());
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 11);
    world.update();
    EXPECT_EQ(journal, (Journal{"M collision M>R", "R collision M>R"}));
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 12);
    ASSERT_EQ(mover->collision_positions.size(), 1u);
    EXPECT_FLOAT_EQ(mover->collision_positions[0].getX(), 12);
    world.update(); // still touching at 12, then clear of it at 13
    world.update();
    EXPECT_EQ(journal.size(), 4u);
    EXPECT_FLOAT_EQ(mover->getPosition().getX(), 14);

    // Two BLOCKING objects: the move into the overlap succeeds; every later one is refused.
    world.startUp();
    journal.clear();
    auto* wall = new RecordingObject("W", Vector(31.8f, 10));
    auto* runner = new RecordingObject("N", Vector(30, 10));
    runner->setVelocity(Vector(1, 0));
    world.update();
    EXPECT_TRUE(journal.empty());
    EXPECT_FLOAT_EQ(runner->getPosition().getX(), 31);
    world.update();
    world.update();
    EXPECT_EQ(journal, (Journal{"N collision N>W", "W collision N>W", "N collision N>W", "W collision N>W"}));
    EXPECT_FLOAT_EQ(runner->getPosition().getX(), 31);
    delete rest;
    delete mover;
    delete wall;
    delete runner;
}

TEST_F(WorldManagerTest, IntangibleObjectPassesThroughUnseenButHearsOut) {
    auto* wall = new RecordingObject("W", Vector(11, 10));
    auto* ghost = new RecordingObject("G", Vector(10, 10), bw::INTANGIBLE);
    ghost->setVelocity(Vector(1, 0));
    world.update(); // onto the wall
    world.update(); // and on
    EXPECT_FLOAT_EQ(ghost->getPosition().getX(), 12);
    EXPECT_TRUE(journal.empty()) << ::testing::PrintToString(journal);

    // Sitting right on the wall, it is not reported to the wall either.
    ghost->setVelocity(Vector(0, 0));
    ghost->setPosition(Vector(11, 10));
    EXPECT_TRUE(world.getCollisions(ghost).isEmpty());
    EXPECT_TRUE(world.getCollisions(wall).isEmpty());
    wall->setVelocity(Vector(0, 1));
    world.update();
    EXPECT_TRUE(journal.empty()) << ::testing::PrintToString(journal);
    EXPECT_FLOAT_EQ(wall->getPosition().getY(), 10.4f);

    EXPECT_EQ(world.moveObject(ghost, Vector(90, 10)), 0);
    EXPECT_EQ(journal, (Journal{"G out"}));
}

TEST_F(WorldManagerTest, OutOfWindowTestIsStrictAtEveryEdge) {
    struct Case {
        Vector where;
        bool out;
    };
    const Case cases[] = {
        {{80.4f, 10}, false}, {{80.5f, 10}, false}, {{80.6f, 10}, true},  // right
        {{-0.4f, 10}, false}, {{-0.5f, 10}, false}, {{-0.6f, 10}, true},  // left
        {{40, -0.4f}, false}, {{40, -0.5f}, false}, {{40, -0.6f}, true},  // top
        {{40, 24.4f}, false}, {{40, 24.5f}, false}, {{40, 24.6f}, true},  // bottom
    };
    auto* probe = new RecordingObject("P");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where.toString());
        journal.clear();
        EXPECT_EQ(world.moveObject(probe, c.where), 0);
        EXPECT_EQ(probe->getPosition(), c.where);
        EXPECT_EQ(journal, c.out ? Journal{"P out"} : Journal{});
    }

    // Only the box's size counts, not where its corner lies.
    probe->setBox(bw::Box(Vector(0, 0), 1, 1));
    journal.clear();
    world.moveObject(probe, Vector(80.4f, 10));
    EXPECT_TRUE(journal.empty());
    world.moveObject(probe, Vector(-0.6f, 10));
    EXPECT_EQ(journal, (Journal{"P out"}));

    // Half the box's size on each side.
    probe->setBox(bw::Box(Vector(-2, -1), 4, 2));
    journal.clear();
    world.moveObject(probe, Vector(81.9f, 24.9f));
    EXPECT_TRUE(journal.empty());
    world.moveObject(probe, Vector(82.1f, 10));
    world.moveObject(probe, Vector(10, 25.1f));
    EXPECT_EQ(journal, (Journal{"P out", "P out"}));
}

TEST_F(WorldManagerTest, OutEventAtEveryMoveOutsideButNotAtRest) {
    auto* away = new RecordingObject("A", Vector(100, 10));
    away->setVelocity(Vector(1, 0));
    world.update();
    world.update();
    EXPECT_EQ(journal, (Journal{"A out", "A out"}));
    away->setVelocity(Vector(0, 0));
    world.update();
    world.update();
    EXPECT_EQ(journal.size(), 2u);
    // Blocked moves do not test the window.
    away->setPosition(Vector(-5, 10));
    new RecordingObject("B", Vector(-5, 10));
    journal.clear();
    EXPECT_EQ(world.moveObject(away, Vector(-6, 10)), -1);
    EXPECT_EQ(journal, (Journal{"A collision A>B", "B collision A>B"}));
}

TEST_F(WorldManagerTest, ObjectsCreatedDuringMovementMoveFromTheNextUpdate) {
    auto* rest = new RecordingObject("R", Vector(10, 10), bw::PASSABLE);
    auto* mover = new RecordingObject("M", Vector(10.5f, 10), bw::PASSABLE);
    mover->setVelocity(Vector(1, 0));
    RecordingObject* child = nullptr;
    rest->on_event = [&](const bw::Event* event) {
        if (event->getType() != bw::EVENT_TYPE_COLLISION || child) return;
        child = new RecordingObject("C", Vector(50, 10), bw::INTANGIBLE);
        child->setVelocity(Vector(1, 0));
    };
    world.update();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->getPosition(), Vector(50, 10));
    EXPECT_EQ(world.getAllObjects()[2], child);
    world.update();
    EXPECT_FLOAT_EQ(child->getPosition().getX(), 51);
}

TEST_F(WorldManagerTest, DrawsByAltitudeThenListOrderAndSkipsNegative) {
    const struct {
        const char* name;
        int altitude;
    } layers[] = {{"A", 4}, {"B", 0}, {"D", 1}, {"C", 2}, {"F", -1}, {"E", 1}};
    for (const auto& layer : layers) {
        auto* object = new RecordingObject(layer.name);
        ASSERT_EQ(object->setAltitude(layer.altitude), 0);
    }
    world.draw();
    EXPECT_EQ(journal, (Journal{"B draw", "D draw", "E draw", "C draw", "A draw"}));
}

TEST_F(WorldManagerTest, ObjectsOfTypeMatchExactlyInListOrder) {
    const char* types[] = {"Fly", "fly", "Fly", "Flyer", "Saucer", " Fly"};
    std::vector<Object*> made;
    for (const char* type : types) {
        made.push_back(new Object);
        made.back()->setType(type);
    }
    EXPECT_EQ(entries(world.objectsOfType("Fly")), (std::vector<Object*>{made[0], made[2]}));
    EXPECT_EQ(entries(world.objectsOfType("Saucer")), (std::vector<Object*>{made[4]}));
    EXPECT_TRUE(world.objectsOfType("Player").isEmpty());
    EXPECT_TRUE(world.objectsOfType("").isEmpty());
}

TEST_F(WorldManagerTest, ObjectsInRangeIncludeTheRadius) {
    const Vector positions[] = {{13, 14}, {10, 10}, {13, 14.01f}, {5, 10}, {4.9f, 10}, {10, 5}};
    std::vector<Object*> made;
    for (const Vector& position : positions) {
        made.push_back(new Object);
        made.back()->setPosition(position);
    }
    EXPECT_EQ(entries(world.objectsInRange(Vector(10, 10), 5)),
              (std::vector<Object*>{made[0], made[1], made[3], made[5]}));
    EXPECT_EQ(entries(world.objectsInRange(Vector(10, 10), 0)), (std::vector<Object*>{made[1]}));
}

TEST_F(WorldManagerTest, ShutDownDestroysEveryObjectInListOrder) {
    auto* a = new RecordingObject("A");
    auto* b = new RecordingObject("B");
    auto* c = new RecordingObject("C");
    a->setId(900); // list order, not id order
    b->setType("Fly");
    world.markForDelete(b);
    const std::string b_id = std::to_string(b->getId());
    const std::string c_id = std::to_string(c->getId());

    world.shutDown();
    EXPECT_FALSE(world.isStarted());
    EXPECT_TRUE(world.getAllObjects().isEmpty());
    EXPECT_EQ(journal, (Journal{"A deleted", "B deleted", "C deleted"}));
    const auto lines = readLogLines();
    const auto start = std::find(lines.begin(), lines.end(), "Shutting down WorldManager");
    ASSERT_NE(start, lines.end());
    EXPECT_EQ(Journal(start + 1, lines.end()),
              (Journal{"Shutting down: deleting RecordingObject with id 900",
                       "Shutting down: deleting Fly with id " + b_id,
                       "Shutting down: deleting RecordingObject with id " + c_id}));

    // The queued object went with the rest and is not destroyed again.
    world.update();
    EXPECT_EQ(journal.size(), 3u);
}

TEST_F(WorldManagerTest, FullWorldLeavesTheNextObjectOutSilently) {
    std::vector<std::unique_ptr<Object>> crowd;
    for (int i = 0; i < bw::MAX_OBJECTS; ++i) crowd.push_back(std::make_unique<Object>());
    const auto lines_before = readLogLines().size();
    const auto outsider = std::make_unique<RecordingObject>("X", Vector(10, 10));
    outsider->setVelocity(Vector(1, 0));
    EXPECT_EQ(readLogLines().size(), lines_before);
    EXPECT_EQ(world.getAllObjects().getCount(), 5000);
    EXPECT_FALSE(world.getAllObjects().contains(outsider.get()));
    EXPECT_EQ(world.insertObject(outsider.get()), -1);

    // It is never told anything, moved or drawn.
    sendStep(0);
    world.update();
    world.draw();
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(outsider->getPosition(), Vector(10, 10));

    // Once there is room, new objects enter again.
    crowd.pop_back();
    const auto newcomer = std::make_unique<Object>();
    EXPECT_TRUE(world.getAllObjects().contains(newcomer.get()));
}

TEST_F(WorldManagerTest, FullDeletionQueueRefusesAndTheObjectStays) {
    std::vector<Object*> crowd;
    for (int i = 0; i < bw::MAX_OBJECTS; ++i) crowd.push_back(new Object);
    auto* outsider = new Object; // the world is full: queued, but not in the world
    ASSERT_EQ(world.markForDelete(outsider), 0);
    for (std::size_t i = 0; i + 1 < crowd.size(); ++i) ASSERT_EQ(world.markForDelete(crowd[i]), 0);
    // Already queued still answers 0; a new one finds the queue full.
    EXPECT_EQ(world.markForDelete(outsider), 0);
    EXPECT_EQ(world.markForDelete(crowd.back()), -1);

    world.update();
    EXPECT_EQ(entries(world.getAllObjects()), (std::vector<Object*>{crowd.back()}));
    EXPECT_EQ(world.markForDelete(crowd.back()), 0);
    world.update();
    EXPECT_TRUE(world.getAllObjects().isEmpty());
}

} // namespace
