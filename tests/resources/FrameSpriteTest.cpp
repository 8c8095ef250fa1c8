#include "Frame.h"
#include "Sprite.h"

#include "Color.h"
#include "LogManager.h"
#include "Vector.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using bw::Color;
using bw::Frame;
using bw::Sprite;
using bw::Vector;
using Lines = std::vector<std::string>;

namespace {

const std::string DIMENSION_ERROR = "ERROR: Frame string does not match provided dimensions";
const std::string FULL_WARNING = "WARNING: Attempted to add frame over maximum frame count";
// What the display manager writes for a character it cannot draw without a window.
const std::string NO_WINDOW = "WARNING: attempted to draw character before window initialized";

class FrameSpriteTest : public ::testing::Test {
protected:
    void SetUp() override { restartLogForResourceTest(); }
    void TearDown() override { bw::LogManager::getInstance().shutDown(); }

    TempWorkDir dir;
};

Frame frameWithSlowdown(int slowdown) {
    Frame frame(1, "x");
    frame.setSlowdown(slowdown);
    return frame;
}

TEST_F(FrameSpriteTest, DefaultFrameIsEmptyWhiteWithTheSpriteSlowdown) {
    const Frame frame;
    EXPECT_EQ(frame.getWidth(), 0);
    EXPECT_EQ(frame.getHeight(), 0);
    EXPECT_EQ(frame.getString(), "");
    EXPECT_EQ(frame.getSlowdown(), -1);
    EXPECT_EQ(frame.getColor(), bw::COLOR_WHITE);
}

TEST_F(FrameSpriteTest, FrameHeightIsStringLengthOverWidth) {
    const Frame frame(3, "abcdefghi");
    EXPECT_EQ(frame.getWidth(), 3);
    EXPECT_EQ(frame.getHeight(), 3);
    EXPECT_EQ(frame.getString(), "abcdefghi");
    EXPECT_EQ(frame.getSlowdown(), -1);
    EXPECT_EQ(frame.getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(FrameSpriteTest, StringNotFittingTheWidthIsRefusedAndTheOldOneKept) {
    Frame frame(3, "abcdef");
    frame.setString("abcdefg");
    EXPECT_EQ(frame.getString(), "abcdef");
    EXPECT_EQ(resourceLogMessages(), Lines{DIMENSION_ERROR});

    frame.setString("xyz");
    EXPECT_EQ(frame.getString(), "xyz");
    EXPECT_EQ(frame.getHeight(), 1);
}

TEST_F(FrameSpriteTest, WidthOfZeroOrLessAcceptsNoStringAndDrawsNothing) {
    Frame zero(0, "abc");
    EXPECT_EQ(zero.getString(), "");
    EXPECT_EQ(zero.getHeight(), 0);

    Frame negative(2, "ab");
    negative.setWidth(-2);
    negative.setString("abcd");
    EXPECT_EQ(negative.getString(), "ab");
    EXPECT_EQ(negative.getHeight(), 0);
    EXPECT_EQ(resourceLogMessages(), (Lines{DIMENSION_ERROR, DIMENSION_ERROR}));

    // The string left from before the width changed is not drawn either.
    EXPECT_EQ(negative.draw(Vector(10, 10), nullptr), 0);
    EXPECT_EQ(resourceLogMessages().size(), 2u);
}

TEST_F(FrameSpriteTest, EmptyFrameDrawsNothingAndSucceeds) {
    EXPECT_EQ(Frame().draw(Vector(5, 5), nullptr), 0);
    EXPECT_EQ(Frame(4, "").draw(Vector(5, 5), nullptr), 0);
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(FrameSpriteTest, DrawHandsEveryRowToTheDisplayAndTriesAllRows) {
    // Without a window each row fails at its first character, yet the next row is still tried.
    const Frame frame(3, "abcdef");
    EXPECT_EQ(frame.draw(Vector(10, 10), nullptr), -1);
    EXPECT_EQ(resourceLogMessages(), (Lines{"draw string has been called", "abc", NO_WINDOW,
                                            "draw string has been called", "def", NO_WINDOW}));
}

TEST_F(FrameSpriteTest, DrawSkipsTransparentCharacters) {
    // Rows made only of the transparent character need no window at all.
    const char blank = ' ';
    const Frame frame(3, "   ");
    EXPECT_EQ(frame.draw(Vector(10, 10), &blank), 0);
    EXPECT_EQ(resourceLogMessages(), (Lines{"draw string has been called", "   ", "   ", "   "}));
    EXPECT_EQ(frame.draw(Vector(10, 10), nullptr), -1);
}

TEST_F(FrameSpriteTest, NewSpriteIsEmpty) {
    const Sprite sprite(4);
    EXPECT_EQ(sprite.getWidth(), 0);
    EXPECT_EQ(sprite.getHeight(), 0);
    EXPECT_EQ(sprite.getMaxFrameCount(), 4);
    EXPECT_EQ(sprite.getFrameCount(), 0);
    EXPECT_EQ(sprite.getTotalSlowdown(), 0);
    EXPECT_EQ(sprite.getColor(), bw::COLOR_WHITE);
    EXPECT_EQ(sprite.getSlowdown(), 1);
    EXPECT_EQ(sprite.getTransparency(), nullptr);
    EXPECT_EQ(sprite.getLabel(), "");
}

TEST_F(FrameSpriteTest, TotalSlowdownSumsTheFrames) {
    Sprite sprite(3);
    EXPECT_EQ(sprite.insertFrame(frameWithSlowdown(2)), 0);
    EXPECT_EQ(sprite.insertFrame(frameWithSlowdown(3)), 0);
    EXPECT_EQ(sprite.insertFrame(frameWithSlowdown(1)), 0);
    EXPECT_EQ(sprite.getFrameCount(), 3);
    EXPECT_EQ(sprite.getTotalSlowdown(), 6);
    EXPECT_EQ(sprite.getFrame(1).getSlowdown(), 3);
}

TEST_F(FrameSpriteTest, FrameWithoutSlowdownTakesTheSpriteSlowdown) {
    Sprite sprite(2);
    sprite.setSlowdown(4);
    EXPECT_EQ(sprite.insertFrame(Frame(1, "a")), 0);
    EXPECT_EQ(sprite.getFrame(0).getSlowdown(), 4);
    EXPECT_EQ(sprite.getTotalSlowdown(), 4);
    // Any negative slowdown counts as "none given"; 0 is a slowdown of its own.
    EXPECT_EQ(sprite.insertFrame(frameWithSlowdown(-7)), 0);
    EXPECT_EQ(sprite.getFrame(1).getSlowdown(), 4);
    EXPECT_EQ(sprite.getTotalSlowdown(), 8);
    Sprite frozen(1);
    frozen.setSlowdown(4);
    frozen.insertFrame(frameWithSlowdown(0));
    EXPECT_EQ(frozen.getFrame(0).getSlowdown(), 0);
    EXPECT_EQ(frozen.getTotalSlowdown(), 0);
}

TEST_F(FrameSpriteTest, FullSpriteRefusesFramesWithAWarning) {
    Sprite sprite(1);
    EXPECT_EQ(sprite.insertFrame(Frame(1, "a")), 0);
    EXPECT_EQ(sprite.insertFrame(Frame(1, "b")), -1);
    EXPECT_EQ(sprite.getFrameCount(), 1);
    EXPECT_EQ(sprite.getFrame(0).getString(), "a");
    EXPECT_EQ(sprite.getTotalSlowdown(), 1);
    EXPECT_EQ(resourceLogMessages(), Lines{FULL_WARNING});

    // Warnings are level 1.
    bw::LogManager::getInstance().setLogLevel(0);
    EXPECT_EQ(sprite.insertFrame(Frame(1, "c")), -1);
    EXPECT_EQ(resourceLogMessages(), Lines{FULL_WARNING});
}

TEST_F(FrameSpriteTest, SpriteWithRoomForNoFramesTakesNone) {
    Sprite none(0);
    Sprite negative(-3);
    EXPECT_EQ(none.insertFrame(Frame(1, "a")), -1);
    EXPECT_EQ(negative.insertFrame(Frame(1, "a")), -1);
    EXPECT_EQ(none.getFrameCount(), 0);
    EXPECT_EQ(negative.getFrameCount(), 0);
    EXPECT_EQ(none.draw(0, Vector(1, 1)), 0);
}

TEST_F(FrameSpriteTest, HugeCapacityDoesNotAllocateUpFront) {
    Sprite sprite(INT_MAX);
    EXPECT_EQ(sprite.insertFrame(Frame(2, "ab")), 0);
    EXPECT_EQ(sprite.getFrameCount(), 1);
    EXPECT_EQ(sprite.getFrame(0).getString(), "ab");
}

TEST_F(FrameSpriteTest, TotalSlowdownStopsAtTheIntLimits) {
    Sprite sprite(3);
    sprite.insertFrame(frameWithSlowdown(INT_MAX));
    sprite.insertFrame(frameWithSlowdown(5));
    EXPECT_EQ(sprite.getTotalSlowdown(), INT_MAX);

    Sprite low(3);
    low.setSlowdown(INT_MIN);
    low.insertFrame(Frame(1, "a"));
    low.insertFrame(Frame(1, "b"));
    EXPECT_EQ(low.getTotalSlowdown(), INT_MIN);
}

TEST_F(FrameSpriteTest, FrameIndexOutOfRangeGivesAnEmptyFrame) {
    Sprite sprite(3);
    Frame red(2, "abcd");
    red.setColor(Color(255, 0, 0, 1.0f));
    red.setSlowdown(6);
    sprite.insertFrame(red);
    sprite.insertFrame(Frame(2, "efgh"));

    for (int index : {-1, 2, 3, INT_MIN, INT_MAX}) {
        const Frame frame = sprite.getFrame(index);
        EXPECT_EQ(frame.getWidth(), 0) << index;
        EXPECT_EQ(frame.getString(), "") << index;
        EXPECT_EQ(frame.getSlowdown(), -1) << index;
        EXPECT_EQ(frame.getColor(), bw::COLOR_WHITE) << index;
        EXPECT_EQ(sprite.draw(index, Vector(3, 3)), 0) << index;
    }
    const Frame first = sprite.getFrame(0);
    EXPECT_EQ(first.getString(), "abcd");
    EXPECT_EQ(first.getColor(), Color(255, 0, 0, 1.0f));
    EXPECT_EQ(first.getSlowdown(), 6);
    EXPECT_EQ(sprite.getFrame(1).getString(), "efgh");
    EXPECT_EQ(resourceLogMessages(), Lines{});
}

TEST_F(FrameSpriteTest, SpriteDrawUsesItsTransparency) {
    Sprite sprite(1);
    sprite.insertFrame(Frame(2, ".."));
    // Every character is the transparent one, so nothing needs the (absent) window.
    sprite.setTransparency('.');
    EXPECT_EQ(sprite.draw(0, Vector(3, 3)), 0);
    Sprite opaque(1);
    opaque.insertFrame(Frame(2, ".."));
    EXPECT_EQ(opaque.draw(0, Vector(3, 3)), -1);
}

} // namespace
