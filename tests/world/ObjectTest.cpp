#include "Object.h"

#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using bw::Object;
using bw::Vector;

namespace {

// The first object of the program, made during static initialisation before any test runs.
// The log manager is created first so that it outlives the world at exit.
const int first_object_id = [] {
    bw::LogManager::getInstance();
    const Object probe;
    return probe.getId();
}();

/// One frame block of a sprite file: its art (width × height characters, row after row) and
/// its own slowdown (-1: none given, the sprite's default applies).
struct FrameArt {
    std::string art;
    int slowdown = -1;
};

/// Writes a sprite file into the working directory and loads it under a label unique to the
/// running test. Returns the label.
std::string loadSprite(const std::string& suffix, int width, int height, const std::vector<FrameArt>& frames,
                       int frame_count = -1) {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string label = test + "-" + suffix;
    const std::string filename = label + ".txt";
    std::ofstream file(filename);
    file << "frames " << (frame_count < 0 ? static_cast<int>(frames.size()) : frame_count) << "\n"
         << "width " << width << "\n"
         << "height " << height << "\n"
         << "default_color #FFFFFF\n"
         << "default_slowdown 1\n"
         << "<BODY>\n";
    for (const FrameArt& frame : frames) {
        const auto row_width = static_cast<std::size_t>(width);
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row)
            file << frame.art.substr(row * row_width, row_width) << "\n";
        if (frame.slowdown >= 0) file << "frame_slowdown " << frame.slowdown << "\n";
        file << "end\n";
    }
    file << "</BODY>\n";
    file.close();
    EXPECT_EQ(bw::ResourceManager::getInstance().loadSprite(filename, label), 0) << label;
    return label;
}

/// The frame index before each of count draws: the frame each draw shows.
std::vector<int> framesShown(Object& object, int count) {
    std::vector<int> shown;
    for (int i = 0; i < count; ++i) {
        shown.push_back(object.getFrameIndex());
        object.draw();
    }
    return shown;
}

class ObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        bw::WorldManager::getInstance().startUp();
    }
    void TearDown() override { log.shutDown(); }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
};

TEST_F(ObjectTest, IdsStartAtZeroAreConsecutiveAndNeverReused) {
    EXPECT_EQ(first_object_id, 0);
    auto* a = new Object;
    auto* b = new Object;
    EXPECT_EQ(b->getId(), a->getId() + 1);
    const int last = b->getId();
    delete b;
    const Object c;
    EXPECT_EQ(c.getId(), last + 1);
    delete a;
}

TEST_F(ObjectTest, NewObjectHasDefaultsAndEntersTheWorldUntilDestroyed) {
    auto* first = new Object;
    auto* second = new Object;
    EXPECT_EQ(second->getType(), "undefined_object");
    EXPECT_EQ(second->getPosition(), Vector(0, 0));
    EXPECT_EQ(second->getAltitude(), 0);
    EXPECT_EQ(second->getSpeed(), 0);
    EXPECT_EQ(second->getDirection(), Vector(0, 0));
    EXPECT_EQ(second->getSolidness(), bw::BLOCKING);
    EXPECT_TRUE(second->isSolid());
    EXPECT_EQ(second->getSprite(), nullptr);
    EXPECT_EQ(second->getFrameIndex(), 0);
    EXPECT_EQ(second->getSlowdownCount(), 1);
    EXPECT_EQ(second->getBox().getHorizontal(), 0);
    EXPECT_EQ(second->getBox().getVertical(), 0);
    EXPECT_FALSE(second->isBoxVisible());

    auto* third = new Object;
    bw::ObjectList world = bw::WorldManager::getInstance().getAllObjects();
    ASSERT_EQ(world.getCount(), 3);
    EXPECT_EQ(world[0], first);
    EXPECT_EQ(world[1], second);
    EXPECT_EQ(world[2], third);

    delete second;
    world = bw::WorldManager::getInstance().getAllObjects();
    ASSERT_EQ(world.getCount(), 2);
    EXPECT_EQ(world[0], first);
    EXPECT_EQ(world[1], third);
    delete first;
    delete third;
    EXPECT_TRUE(bw::WorldManager::getInstance().getAllObjects().isEmpty());
}

TEST_F(ObjectTest, AltitudeAboveMaximumIsRefusedWithWarning) {
    const std::string warning = "WARNING: attempted to set display altitude beyond MAX_ALTITUDE";
    Object object;
    EXPECT_EQ(object.setAltitude(2), 0);
    EXPECT_EQ(object.setAltitude(5), -1);
    EXPECT_EQ(object.getAltitude(), 2);
    EXPECT_EQ(countLogLines(warning), 1);

    EXPECT_EQ(object.setAltitude(bw::MAX_ALTITUDE), 0);
    EXPECT_EQ(object.getAltitude(), 4);
    EXPECT_EQ(object.setAltitude(-1), 0);
    EXPECT_EQ(object.getAltitude(), -1);
    EXPECT_EQ(object.setAltitude(0), 0);
    EXPECT_EQ(object.getAltitude(), 0);
    EXPECT_EQ(countLogLines(warning), 1);
}

TEST_F(ObjectTest, VelocitySplitsIntoSpeedAndUnitDirection) {
    Object object;
    object.setVelocity(Vector(3, 4));
    EXPECT_FLOAT_EQ(object.getSpeed(), 5);
    EXPECT_FLOAT_EQ(object.getDirection().getX(), 0.6f);
    EXPECT_FLOAT_EQ(object.getDirection().getY(), 0.8f);
    EXPECT_FLOAT_EQ(object.getVelocity().getX(), 3);
    EXPECT_FLOAT_EQ(object.getVelocity().getY(), 4);

    object.setVelocity(Vector(0, -0.25f));
    EXPECT_FLOAT_EQ(object.getSpeed(), 0.25f);
    EXPECT_EQ(object.getDirection(), Vector(0, -1));

    object.setVelocity(Vector(0, 0));
    EXPECT_EQ(object.getSpeed(), 0);
    EXPECT_EQ(object.getDirection(), Vector(0, 0));
    EXPECT_EQ(object.getVelocity(), Vector(0, 0));
}

TEST_F(ObjectTest, DirectionIsStoredUnchangedAndScaledBySpeed) {
    Object object;
    object.setDirection(Vector(2, 0));
    object.setSpeed(0.5f);
    EXPECT_EQ(object.getDirection(), Vector(2, 0));
    EXPECT_FLOAT_EQ(object.getSpeed(), 0.5f);
    EXPECT_FLOAT_EQ(object.getVelocity().getX(), 1);
    EXPECT_FLOAT_EQ(object.getVelocity().getY(), 0);

    object.setSpeed(-2);
    EXPECT_FLOAT_EQ(object.getVelocity().getX(), -4);
}

// Cells of the default window are 12.8 × 32 pixels, and velocities count in units of the
// shorter side: the display manager need not be started for its sizes.
TEST_F(ObjectTest, PredictedPositionCorrectsForCellAspect) {
    Object object;
    object.setPosition(Vector(10, 10));
    EXPECT_EQ(object.predictPosition(), Vector(10, 10));

    object.setVelocity(Vector(1, 0));
    EXPECT_FLOAT_EQ(object.predictPosition().getX(), 11);
    EXPECT_FLOAT_EQ(object.predictPosition().getY(), 10);

    object.setVelocity(Vector(0, 1));
    EXPECT_FLOAT_EQ(object.predictPosition().getX(), 10);
    EXPECT_FLOAT_EQ(object.predictPosition().getY(), 10.4f);

    object.setDirection(Vector(-1, -1));
    object.setSpeed(2.5f);
    EXPECT_FLOAT_EQ(object.predictPosition().getX(), 7.5f);
    EXPECT_FLOAT_EQ(object.predictPosition().getY(), 9);
    // Predicting does not move.
    EXPECT_EQ(object.getPosition(), Vector(10, 10));
}

TEST_F(ObjectTest, SolidnessAndWorldBox) {
    Object object;
    EXPECT_EQ(object.setSolidness(bw::PASSABLE), 0);
    EXPECT_EQ(object.getSolidness(), bw::PASSABLE);
    EXPECT_TRUE(object.isSolid());
    EXPECT_EQ(object.setSolidness(bw::INTANGIBLE), 0);
    EXPECT_FALSE(object.isSolid());

    object.setBox(bw::Box(Vector(-1, -2), 3, 4));
    object.setPosition(Vector(10, 5));
    const bw::Box world = object.getWorldBox();
    EXPECT_EQ(world.getCorner(), Vector(9, 3));
    EXPECT_EQ(world.getHorizontal(), 3);
    EXPECT_EQ(world.getVertical(), 4);
    EXPECT_EQ(object.getBox().getCorner(), Vector(-1, -2));
}

TEST_F(ObjectTest, SpriteFitsACentredBoxOfItsSize) {
    const std::string wide = loadSprite("wide", 5, 3, {{"abcdefghijklmno", 2}});
    Object object;
    object.setPosition(Vector(20, 10));
    object.setSprite(wide);
    ASSERT_NE(object.getSprite(), nullptr);
    EXPECT_EQ(object.getSprite(), bw::ResourceManager::getInstance().getSprite(wide));
    EXPECT_EQ(object.getBox().getCorner(), Vector(-2.5f, -1.5f));
    EXPECT_EQ(object.getBox().getHorizontal(), 5);
    EXPECT_EQ(object.getBox().getVertical(), 3);
    EXPECT_EQ(object.getWorldBox().getCorner(), Vector(17.5f, 8.5f));
    EXPECT_EQ(object.getSlowdownCount(), 2);

    // Without fitting, the box stays as it was.
    const std::string small = loadSprite("small", 1, 1, {{"x"}});
    object.setBox(bw::Box(Vector(-4, -4), 8, 8));
    object.setSprite(small, false);
    EXPECT_EQ(object.getSprite(), bw::ResourceManager::getInstance().getSprite(small));
    EXPECT_EQ(object.getBox().getCorner(), Vector(-4, -4));
    EXPECT_EQ(object.getBox().getHorizontal(), 8);
}

// Unknown labels never occur in the game; this engine keeps showing the current sprite.
TEST_F(ObjectTest, UnknownSpriteLabelKeepsTheCurrentSprite) {
    const std::string known = loadSprite("known", 3, 1, {{"abc"}});
    Object object;
    object.setSprite(known);
    bw::Sprite* const shown = object.getSprite();
    object.setSprite("no such sprite");
    EXPECT_EQ(object.getSprite(), shown);
    EXPECT_EQ(object.getBox().getHorizontal(), 3);
    const auto lines = readLogLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("WARNING:", 0) == 0 && line.find("no such sprite") != std::string::npos;
    }));
}

TEST_F(ObjectTest, EachFrameIsShownForItsSlowdown) {
    const std::string uneven = loadSprite("uneven", 1, 1, {{"a", 2}, {"b", 3}, {"c", 1}});
    EXPECT_EQ(bw::ResourceManager::getInstance().getSprite(uneven)->getTotalSlowdown(), 6);
    Object object;
    object.setSprite(uneven);
    EXPECT_EQ(framesShown(object, 10), (std::vector<int>{0, 0, 1, 1, 1, 2, 0, 0, 1, 1}));

    const std::string even = loadSprite("even", 1, 1, {{"a", 2}, {"b", 2}, {"c", 2}});
    Object other;
    other.setSprite(even);
    EXPECT_EQ(framesShown(other, 8), (std::vector<int>{0, 0, 1, 1, 2, 2, 0, 0}));
}

TEST_F(ObjectTest, ZeroSlowdownFreezesTheAnimation) {
    const std::string stops = loadSprite("stops", 1, 1, {{"a", 1}, {"b", 0}, {"c", 1}});
    Object object;
    object.setSprite(stops);
    EXPECT_EQ(framesShown(object, 6), (std::vector<int>{0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(object.getSlowdownCount(), 0);

    // A countdown set to zero or below by hand freezes the animation where it is, too.
    const std::string runs = loadSprite("runs", 1, 1, {{"a", 1}, {"b", 1}});
    Object other;
    other.setSprite(runs);
    other.setSlowdownCount(-3);
    EXPECT_EQ(framesShown(other, 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(other.getSlowdownCount(), -3);
}

TEST_F(ObjectTest, SingleFrameAndFramelessSpritesStayOnFrameZero) {
    const std::string single = loadSprite("single", 2, 1, {{"ab", 2}});
    Object object;
    object.setSprite(single);
    EXPECT_EQ(framesShown(object, 7), (std::vector<int>(7, 0)));
    EXPECT_EQ(object.getSlowdownCount(), 1);

    // Declares a frame but closes the body before giving one.
    const std::string empty = loadSprite("empty", 2, 1, {}, 1);
    ASSERT_EQ(bw::ResourceManager::getInstance().getSprite(empty)->getFrameCount(), 0);
    Object frameless;
    frameless.setSprite(empty);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(frameless.draw(), 0) << "draw " << i;
    EXPECT_EQ(frameless.getFrameIndex(), 0);
}

TEST_F(ObjectTest, ChangingSpriteKeepsFrameIndexAndRestartsCountdown) {
    const std::string quick = loadSprite("quick", 1, 1, {{"a", 1}, {"b", 1}, {"c", 1}});
    const std::string slow = loadSprite("slow", 1, 1, {{"A", 4}, {"B", 1}, {"C", 1}});
    Object object;
    object.setSprite(quick);
    framesShown(object, 2);
    ASSERT_EQ(object.getFrameIndex(), 2);
    object.setSprite(slow);
    EXPECT_EQ(object.getFrameIndex(), 2);
    EXPECT_EQ(object.getSlowdownCount(), 4);
    EXPECT_EQ(framesShown(object, 6), (std::vector<int>{2, 2, 2, 2, 0, 0}));

    // An index beyond the new sprite's frames draws nothing until the modulo brings it back.
    const std::string pair = loadSprite("pair", 1, 1, {{"x", 1}, {"y", 1}});
    Object other;
    other.setSprite(quick);
    framesShown(other, 2);
    other.setSprite(pair);
    EXPECT_EQ(framesShown(other, 3), (std::vector<int>{2, 1, 0}));
}

TEST_F(ObjectTest, DrawWithoutSpriteFailsAndLeavesAnimationAlone) {
    Object object;
    object.setSlowdownCount(1);
    object.setFrameIndex(3);
    EXPECT_EQ(object.draw(), -1);
    EXPECT_EQ(object.draw(), -1);
    EXPECT_EQ(object.getFrameIndex(), 3);
    EXPECT_EQ(object.getSlowdownCount(), 1);
}

} // namespace
