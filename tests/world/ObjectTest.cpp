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

using bw::Object;
using bw::ObjectList;
using bw::Vector;
using Objects = std::vector<Object*>;

namespace {

// The first object of the program, made during static initialisation before any test runs.
// The log manager is created first so that it outlives the world at exit.
const int first_object_id = [] {
    bw::LogManager::getInstance();
    return Object().getId();
}();

/// Loads a sprite of width × height cells whose frames have the given slowdowns (-1: none given),
/// under a label unique to the running test. Without frames it still declares one.
std::string loadSprite(const std::string& name, const std::vector<int>& slowdowns, int width = 1, int height = 1) {
    const std::string label = ::testing::UnitTest::GetInstance()->current_test_info()->name() + ("-" + name);
    std::string text = "frames " + std::to_string(std::max<std::size_t>(slowdowns.size(), 1)) + "\nwidth " +
                       std::to_string(width) + "\nheight " + std::to_string(height) +
                       "\ndefault_color #FFFFFF\ndefault_slowdown 1\n<BODY>\n";
    for (int slowdown : slowdowns) {
        for (int row = 0; row < height; ++row) text += std::string(static_cast<std::size_t>(width), 'x') + "\n";
        text += (slowdown < 0 ? "" : "frame_slowdown " + std::to_string(slowdown) + "\n") + "end\n";
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

ObjectList listOf(const Objects& objects) {
    ObjectList list;
    for (Object* object : objects) list.insert(object);
    return list;
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
};

class ObjectListTest : public ObjectTest {
protected:
    Object a, b, c, d;
};

TEST_F(ObjectTest, IdsCountUpNeverReusedAndObjectsLiveInTheWorldUntilDestroyed) {
    EXPECT_EQ(first_object_id, 0);
    auto* a = new Object;
    auto* b = new Object;
    EXPECT_EQ(b->getId(), a->getId() + 1);
    delete b;
    Object c;
    EXPECT_EQ(c.getId(), a->getId() + 2);
    ASSERT_EQ(world.getAllObjects().getCount(), 2);
    EXPECT_EQ(world.getAllObjects()[1], &c);
    delete a;
    EXPECT_EQ(world.getAllObjects()[0], &c);
    EXPECT_EQ(c.getType(), "undefined_object");
    EXPECT_EQ(c.getSolidness(), bw::BLOCKING);
}

TEST_F(ObjectTest, AltitudeAboveMaximumIsRefusedWithWarning) {
    Object object;
    EXPECT_EQ(object.setAltitude(2), 0);
    EXPECT_EQ(object.setAltitude(5), -1);
    EXPECT_EQ(object.getAltitude(), 2);
    for (int altitude : {4, -1, 0}) {
        EXPECT_EQ(object.setAltitude(altitude), 0);
        EXPECT_EQ(object.getAltitude(), altitude);
    }
    EXPECT_EQ(countLogLines("WARNING: attempted to set display altitude beyond MAX_ALTITUDE"), 1);
}

// Cells of the default window are 12.8 × 32 pixels, and velocities count in units of the
// shorter side: a vertical velocity of 1 moves 0.4 rows. The display need not be started.
TEST_F(ObjectTest, VelocityIsSpeedTimesDirectionCorrectedForCellAspect) {
    Object object;
    object.setPosition(Vector(10, 10));
    object.setVelocity(Vector(3, 4));
    EXPECT_FLOAT_EQ(object.getSpeed(), 5);
    EXPECT_FLOAT_EQ(object.getDirection().getX(), 0.6f);
    EXPECT_FLOAT_EQ(object.getDirection().getY(), 0.8f);
    EXPECT_FLOAT_EQ(object.predictPosition().getX(), 13);
    EXPECT_FLOAT_EQ(object.predictPosition().getY(), 11.6f);
    object.setVelocity(Vector(0, 0));
    EXPECT_EQ(object.getDirection(), Vector(0, 0));
    EXPECT_EQ(object.predictPosition(), Vector(10, 10));
    object.setDirection(Vector(-2, -2)); // stored as given, not made a unit vector
    object.setSpeed(1.25f);
    EXPECT_FLOAT_EQ(object.getVelocity().getX(), -2.5f);
    EXPECT_FLOAT_EQ(object.predictPosition().getX(), 7.5f);
    EXPECT_FLOAT_EQ(object.predictPosition().getY(), 9);
    EXPECT_EQ(object.getPosition(), Vector(10, 10)); // predicting does not move
}

// The direction is the velocity divided by its length: along an axis that is exactly one, and
// the velocity comes back unchanged. (Multiplying by the reciprocal length gives 0.99999994 for
// these lengths.)
TEST_F(ObjectTest, VelocityAlongAnAxisGivesAnExactUnitDirection) {
    Object object;
    for (const float length : {41.0f, 47.0f, 83.0f}) {
        SCOPED_TRACE(length);
        object.setVelocity(Vector(0, length));
        EXPECT_EQ(object.getDirection(), Vector(0, 1));
        EXPECT_EQ(object.getVelocity(), Vector(0, length));
        object.setVelocity(Vector(-length, 0));
        EXPECT_EQ(object.getDirection(), Vector(-1, 0));
        EXPECT_EQ(object.getSpeed(), length);
    }
}

TEST_F(ObjectTest, SpriteFitsACentredBoxUnlessToldNotToAndUnknownLabelsChangeNothing) {
    Object object;
    object.setPosition(Vector(20, 10));
    object.setSprite(loadSprite("wide", {2}, 5, 3));
    EXPECT_EQ(object.getSlowdownCount(), 2);
    EXPECT_EQ(object.getWorldBox().getCorner(), Vector(17.5f, 8.5f));
    EXPECT_EQ(object.getBox().getHorizontal(), 5);

    object.setBox(bw::Box(Vector(-4, -4), 8, 8));
    const std::string small = loadSprite("small", {1});
    object.setSprite(small, false);
    object.setSprite("no such sprite");
    EXPECT_EQ(object.getSprite(), bw::ResourceManager::getInstance().getSprite(small));
    EXPECT_EQ(object.getBox().getCorner(), Vector(-4, -4));
    EXPECT_EQ(object.getBox().getHorizontal(), 8);
    EXPECT_TRUE(logHasLineStartingWith("WARNING:"));
}

TEST_F(ObjectTest, EachFrameIsShownForItsSlowdownAndZeroFreezes) {
    const struct {
        const char* name;
        std::vector<int> slowdowns;
        std::vector<int> shown;
    } cases[] = {
        {"uneven", {2, 3, 1}, {0, 0, 1, 1, 1, 2, 0, 0, 1, 1}},
        {"stops", {1, 0, 1}, {0, 1, 1, 1, 1}},
        {"single", {2}, {0, 0, 0, 0, 0}},
        {"frameless", {}, {0, 0, 0}}, // declares a frame but closes its body before giving one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Object object;
        object.setSprite(loadSprite(c.name, c.slowdowns));
        EXPECT_EQ(framesShown(object, static_cast<int>(c.shown.size())), c.shown);
    }
    // A countdown set to zero or below by hand freezes the animation where it is, too.
    Object frozen;
    frozen.setSprite(loadSprite("runs", {1, 1}));
    frozen.setSlowdownCount(-3);
    EXPECT_EQ(framesShown(frozen, 3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(frozen.getSlowdownCount(), -3);
    EXPECT_EQ(Object().draw(), -1); // without a sprite
}

TEST_F(ObjectTest, ChangingSpriteKeepsFrameIndexAndRestartsCountdown) {
    const std::string quick = loadSprite("quick", {1, 1, 1});
    Object object, other;
    object.setSprite(quick);
    other.setSprite(quick);
    framesShown(object, 2);
    framesShown(other, 2);
    object.setSprite(loadSprite("slow", {4, 1, 1}));
    EXPECT_EQ(framesShown(object, 6), (std::vector<int>{2, 2, 2, 2, 0, 0}));
    // An index beyond the new sprite's frames draws nothing until the modulo brings it back.
    other.setSprite(loadSprite("pair", {1, 1}));
    EXPECT_EQ(framesShown(other, 3), (std::vector<int>{2, 1, 0}));
}

TEST_F(ObjectListTest, InsertAppendsUntilFullThenRefusesSilently) {
    ObjectList list;
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(list.insert(i == 0 ? &a : &c), 0) << i;
    EXPECT_TRUE(list.isFull());
    EXPECT_EQ(list.insert(&d), -1);
    EXPECT_FALSE(list.contains(&d));
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[4999], &c);
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
}

TEST_F(ObjectListTest, RemoveTakesTheFirstOccurrenceAndKeepsOrder) {
    ObjectList list = listOf({&a, &b, &c, &a});
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(entries(list), (Objects{&b, &c, &a}));
    EXPECT_FALSE(list.remove(&d));
    EXPECT_TRUE(list.remove(&a));
    EXPECT_FALSE(list.contains(&a));
    EXPECT_EQ(entries(list), (Objects{&b, &c}));
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.remove(&b));
}

TEST_F(ObjectListTest, IndexOutsideTheEntriesWarnsAtLevelOneAndGivesNull) {
    const std::string warning = "WARNING: ObjectList[index] out of range";
    ObjectList list = listOf({&a, &b, &c});
    list.remove(&c); // its slot once held a pointer, but is outside now
    EXPECT_EQ(list[1], &b);
    for (int index : {-1, 2, 3}) EXPECT_EQ(list[index], nullptr) << index;
    EXPECT_EQ(countLogLines(warning), 3);
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(list[7], nullptr);
    EXPECT_EQ(countLogLines(warning), 3);
}

TEST_F(ObjectListTest, IteratorsStopAtTheCurrentCount) {
    const ObjectList empty;
    EXPECT_TRUE(entries(empty).empty());
    EXPECT_EQ(bw::ObjectListIterator(&empty).currentObject(), nullptr);
    EXPECT_TRUE(empty.begin() == empty.end());
    ObjectList list = listOf({&a});
    bw::ObjectListIterator it(&list);
    it.next();
    EXPECT_TRUE(it.isDone());
    list.insert(&b); // a list that grows lets the iterator go on
    EXPECT_EQ(it.currentObject(), &b);
    Objects walked;
    for (Object* object : list) walked.push_back(object);
    EXPECT_EQ(walked, (Objects{&a, &b}));
    EXPECT_FALSE(logHasLineStartingWith("WARNING:")); // being done is not an index error
}

TEST_F(ObjectListTest, IteratorLeftBeyondAShrunkListIsNotDoneAndReportsTheIndexError) {
    ObjectList list = listOf({&a, &b, &c});
    bw::ObjectListIterator it(&list);
    it.next();
    it.next();
    list.remove(&a);
    list.remove(&b); // one entry left, the iterator stands at index 2
    EXPECT_FALSE(it.isDone());
    EXPECT_EQ(it.currentObject(), nullptr);
    EXPECT_EQ(countLogLines("WARNING: ObjectList[index] out of range"), 1);
    it.first();
    EXPECT_EQ(it.currentObject(), &c);
    it.next();
    EXPECT_TRUE(it.isDone());
}

} // namespace
