// Objects (ids, altitude, movement, sprites and their animation) and the lists that hold them.
#include "Object.h"

#include "LogManager.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using bw::Object;
using bw::ObjectList;
using bw::Vector;
using Objects = std::vector<Object*>;

namespace {

// The first object of the program, made during static initialisation before any test runs.
// The log manager is created first so that it outlives the world at exit.
const int first_object_id = (bw::LogManager::getInstance(), Object().getId());

/// Loads a sprite of width × height cells whose frames have the given slowdowns, under a label
/// unique to the running test. Without frames it still declares one.
std::string loadSprite(const std::string& name, const std::vector<int>& slowdowns, int width = 1, int height = 1) {
    const std::string label = ::testing::UnitTest::GetInstance()->current_test_info()->name() + ("-" + name);
    std::string text = "frames " + std::to_string(std::max<std::size_t>(slowdowns.size(), 1)) + "\nwidth " +
                       std::to_string(width) + "\nheight " + std::to_string(height) +
                       "\ndefault_color #FFFFFF\ndefault_slowdown 1\n<BODY>\n";
    for (int slowdown : slowdowns) {
        for (int row = 0; row < height; ++row) text += std::string(static_cast<std::size_t>(width), 'x') + "\n";
        text += "frame_slowdown " + std::to_string(slowdown) + "\nend\n";
    }
    writeResourceFile(label, text + "</BODY>\n");
    EXPECT_EQ(bw::ResourceManager::getInstance().loadSprite(label, label), 0) << label;
    return label;
}

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

class ObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        restartLogForResourceTest();
        world.startUp();
    }
    void TearDown() override { bw::LogManager::getInstance().shutDown(); }

    TempWorkDir dir;
    bw::WorldManager& world = bw::WorldManager::getInstance();
    Object a, b, c, d;
};

// Ids count up and are never reused; objects live in the world until destroyed. An altitude
// above the maximum is refused with a warning.
TEST_F(ObjectTest, IdsCountUpObjectsLiveInTheWorldAndAltitudeStaysInRange) {
    EXPECT_EQ(first_object_id, 0);
    delete new Object;
    Object e;
    EXPECT_EQ(std::tuple(e.getId(), e.getType(), e.getSolidness()), std::tuple(d.getId() + 2, "undefined_object", bw::BLOCKING));
    EXPECT_EQ(world.getAllObjects().getCount(), 1); // the fixture's objects came before the world started
    EXPECT_EQ(world.getAllObjects()[0], &e);
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
TEST_F(ObjectTest, VelocityIsSpeedTimesDirectionCorrectedForCellAspect) {
    a.setPosition(Vector(10, 10));
    a.setVelocity(Vector(3, 4));
    EXPECT_EQ(std::tuple(a.getSpeed(), a.getDirection()), std::tuple(5.0f, Vector(0.6f, 0.8f)));
    EXPECT_FLOAT_EQ(a.predictPosition().getX(), 13);
    EXPECT_FLOAT_EQ(a.predictPosition().getY(), 11.6f);
    a.setVelocity(Vector(0, 0));
    EXPECT_EQ(std::tuple(a.getDirection(), a.predictPosition()), std::tuple(Vector(0, 0), Vector(10, 10)));
    a.setDirection(Vector(-2, -2));
    a.setSpeed(1.25f);
    EXPECT_EQ(std::tuple(a.getVelocity(), a.getPosition()), std::tuple(Vector(-2.5f, -2.5f), Vector(10, 10)));
    EXPECT_FLOAT_EQ(a.predictPosition().getX(), 7.5f);
    EXPECT_FLOAT_EQ(a.predictPosition().getY(), 9);
    b.setVelocity(Vector(-47, 0));
    EXPECT_EQ(std::tuple(b.getDirection(), b.getVelocity()), std::tuple(Vector(-1, 0), Vector(-47, 0)));
}

TEST_F(ObjectTest, SpriteFitsACentredBoxUnlessToldNotToAndUnknownLabelsChangeNothing) {
    a.setPosition(Vector(20, 10));
    a.setSprite(loadSprite("wide", {2}, 5, 3));
    EXPECT_EQ(std::tuple(a.getSlowdownCount(), a.getWorldBox().getCorner(), a.getBox().getHorizontal()),
              std::tuple(2, Vector(17.5f, 8.5f), 5.0f));
    a.setBox(bw::Box(Vector(-4, -4), 8, 8));
    const std::string small = loadSprite("small", {1});
    a.setSprite(small, false);
    a.setSprite("no such sprite");
    EXPECT_EQ(std::tuple(a.getSprite(), a.getBox().getCorner(), a.getBox().getHorizontal()),
              std::tuple(bw::ResourceManager::getInstance().getSprite(small), Vector(-4, -4), 8.0f));
    EXPECT_TRUE(logHasLineStartingWith("WARNING:"));
}

// Each frame is shown for its slowdown; a slowdown of zero, or a countdown set to zero or below
// by hand, freezes the animation where it is. A new sprite keeps the frame index and restarts
// the countdown; an index beyond its frames draws nothing until the modulo brings it back.
TEST_F(ObjectTest, FramesAdvanceByTheirSlowdowns) {
    using Frames = std::vector<int>;
    for (const auto& [name, slowdowns, shown] :
         {std::tuple{"uneven", Frames{2, 3, 1}, Frames{0, 0, 1, 1, 1, 2, 0, 0, 1, 1}},
          {"stops", Frames{1, 0, 1}, Frames{0, 1, 1, 1, 1}}, {"single", Frames{2}, Frames{0, 0, 0, 0, 0}},
          {"frameless", Frames{}, Frames{0, 0, 0}}}) {
        Object object;
        object.setSprite(loadSprite(name, slowdowns));
        EXPECT_EQ(framesShown(object, static_cast<int>(shown.size())), shown) << name;
    }
    a.setSprite(loadSprite("runs", {1, 1}));
    a.setSlowdownCount(-3);
    EXPECT_EQ(std::tuple(framesShown(a, 3), a.getSlowdownCount(), d.draw()), std::tuple(Frames{0, 0, 0}, -3, -1));
    const std::string quick = loadSprite("quick", {1, 1, 1});
    b.setSprite(quick);
    c.setSprite(quick);
    framesShown(b, 2);
    framesShown(c, 2);
    b.setSprite(loadSprite("slow", {4, 1, 1}));
    c.setSprite(loadSprite("pair", {1, 1}));
    EXPECT_EQ(std::tuple(framesShown(b, 6), framesShown(c, 3)), std::tuple(Frames{2, 2, 2, 2, 0, 0}, Frames{2, 1, 0}));
}

// A list appends until full, then refuses silently. Removing takes the first occurrence and
// keeps the order. An index outside the entries warns at level 1 and gives null, even where a
// slot once held a pointer.
TEST_F(ObjectTest, ListInsertsUntilFullAndRemovesTheFirstOccurrence) {
    ObjectList full;
    for (int i = 0; i < bw::MAX_OBJECTS; ++i) ASSERT_EQ(full.insert(i == 0 ? &a : &c), 0) << i;
    EXPECT_EQ(std::tuple(full.isFull(), full.insert(&d), full.contains(&d)), std::tuple(true, -1, false));
    EXPECT_EQ(std::tuple(full[0], full[bw::MAX_OBJECTS - 1]), std::tuple(&a, &c));
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
    ObjectList list;
    for (Object* object : {&a, &b, &c, &a}) list.insert(object);
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(std::tuple(entries(list), list.remove(&d)), std::tuple(Objects{&b, &c, &a}, false));
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(std::tuple(entries(list), list.contains(&a)), std::tuple(Objects{&b, &c}, false));
    EXPECT_EQ(std::tuple(list[-1], list[2], list[3]), std::tuple(nullptr, nullptr, nullptr));
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 3);
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(list[7], nullptr);
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 3);
    list.clear();
    EXPECT_EQ(std::tuple(list.isEmpty(), list.remove(&b)), std::tuple(true, false));
}

// Iterators stop at the current count: a list that grows lets them go on (being done is no
// index error); one left beyond a shrunk list is not done and reports the index error.
TEST_F(ObjectTest, IteratorsFollowTheCurrentCount) {
    const ObjectList empty;
    EXPECT_EQ(std::tuple(entries(empty), bw::ObjectListIterator(&empty).currentObject()), std::tuple(Objects{}, nullptr));
    EXPECT_TRUE(empty.begin() == empty.end());
    ObjectList list;
    list.insert(&a);
    bw::ObjectListIterator it(&list);
    it.next();
    EXPECT_TRUE(it.isDone());
    list.insert(&b);
    EXPECT_EQ(std::tuple(it.currentObject(), entries(list)), std::tuple(&b, Objects{&a, &b}));
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
    list.insert(&c);
    it.next();
    list.remove(&a);
    list.remove(&b); // one entry left, the iterator stands at index 2
    EXPECT_EQ(std::tuple(it.isDone(), it.currentObject()), std::tuple(false, nullptr));
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 1);
    it.first();
    EXPECT_EQ(it.currentObject(), &c);
    it.next();
    EXPECT_TRUE(it.isDone());
}

} // namespace
