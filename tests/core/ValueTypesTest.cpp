#include "Box.h"
#include "Color.h"
#include "Vector.h"

#include "LogReader.h"
#include "LogManager.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/Color.hpp>
#include <gtest/gtest.h>

using bw::Box;
using bw::Color;
using bw::Vector;

namespace {

TEST(Vector, ArithmeticAndLength) {
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(v.getMagnitude(), 5);
    EXPECT_EQ(v + Vector(1, -2), Vector(4, 2));
    EXPECT_EQ(v - Vector(1, -2), Vector(2, 6));
    v += Vector(1, 1);
    EXPECT_EQ(v, Vector(4, 5));
    v -= Vector(4, 0);
    EXPECT_EQ(v, Vector(0, 5));
    v.scale(-0.5f);
    EXPECT_EQ(v, Vector(0, -2.5f));
    EXPECT_FLOAT_EQ(Vector(1, 1).distance(Vector(4, 5)), 5);
    EXPECT_FLOAT_EQ(Vector(1, 1).distanceSquared(Vector(4, 5)), 25);
}

TEST(Vector, NormalizeKeepsZeroVector) {
    Vector v(3, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.getX(), 0.6f);
    EXPECT_FLOAT_EQ(v.getY(), 0.8f);
    Vector zero;
    zero.normalize();
    EXPECT_EQ(zero, Vector(0, 0));
}

TEST(Vector, EqualityIsExact) {
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 2.0001f));
    EXPECT_FALSE(Vector(1, 2) == Vector(2, 1));
    Vector v;
    v.setXY(7, 8);
    EXPECT_EQ(v, Vector(7, 8));
}

TEST(Vector, FormatsSixDecimals) {
    EXPECT_EQ(Vector(1.5f, 2).toString(), "(1.500000, 2.000000)");
    EXPECT_EQ(Vector(-0.25f, 100).toString(), "(-0.250000, 100.000000)");
}

TEST(Box, EdgesAreInclusive) {
    const Box a(Vector(0, 0), 3, 1);
    EXPECT_TRUE(bw::boxIntersectsBox(a, Box(Vector(3, 0), 3, 1)));     // shared edge x = 3
    EXPECT_FALSE(bw::boxIntersectsBox(a, Box(Vector(3.01f, 0), 3, 1)));
    EXPECT_TRUE(bw::boxIntersectsBox(Box(Vector(3, 0), 3, 1), a));     // either order
    EXPECT_TRUE(bw::boxIntersectsBox(a, Box(Vector(3, 1), 1, 1)));     // corner only
    EXPECT_FALSE(bw::boxIntersectsBox(a, Box(Vector(0, 1.5f), 3, 1))); // below
}

TEST(Box, PointBoxIntersectsWhatContainsOrTouchesIt) {
    const Box point(Vector(2, 2), 0, 0);
    EXPECT_TRUE(bw::boxIntersectsBox(point, Box(Vector(0, 0), 4, 4)));
    EXPECT_TRUE(bw::boxIntersectsBox(point, Box(Vector(2, 2), 1, 1)));
    EXPECT_TRUE(bw::boxIntersectsBox(Box(Vector(0, 0), 2, 2), point));
    EXPECT_FALSE(bw::boxIntersectsBox(point, Box(Vector(2.5f, 0), 4, 4)));
}

TEST(Color, DefaultsAndNamedColours) {
    EXPECT_EQ(Color(), Color(255, 255, 255, 1.0f));
    EXPECT_EQ(bw::COLOR_WHITE, Color());
    EXPECT_EQ(bw::COLOR_MAGENTA, Color(255, 0, 255, 1.0f));
    EXPECT_NE(Color(1, 2, 3, 1.0f), Color(1, 2, 3, 0.5f));
}

TEST(Color, PackedValue) {
    const Color c(0x80332211u);
    EXPECT_EQ(c.getRed(), 0x11);
    EXPECT_EQ(c.getGreen(), 0x22);
    EXPECT_EQ(c.getBlue(), 0x33);
    EXPECT_FLOAT_EQ(c.getAlpha(), 128 / 255.0f);
    Color d;
    d.setFromPacked(0xFF0000FFu);
    EXPECT_EQ(d, Color(255, 0, 0, 1.0f));
}

TEST(Color, FormatsHexAndText) {
    EXPECT_EQ(Color(255, 255, 255, 1.0f).toString(), "(255, 255, 255, 1.000000)");
    EXPECT_EQ(Color(1, 2, 3, 0.5f).toHexString(), "0x010203");
    EXPECT_EQ(Color(227, 99, 151, 1.0f).toHexString(), "0xe36397");
}

TEST(Color, DisplayColorTruncates) {
    const sf::Color c = Color(300, 20, 30, 0.999f).toDisplayColor();
    EXPECT_EQ(c.r, 300 & 0xFF);
    EXPECT_EQ(c.g, 20);
    EXPECT_EQ(c.b, 30);
    EXPECT_EQ(c.a, 254);
}

class ColorCodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        bw::LogManager::getInstance().setLogLevel(-1);
        bw::LogManager::getInstance().startUp();
    }
    void TearDown() override { bw::LogManager::getInstance().shutDown(); }
    TempWorkDir dir;
};

TEST_F(ColorCodeTest, ParsesWithAndWithoutPrefix) {
    EXPECT_EQ(Color("0xF24236", 1.0f), Color(242, 66, 54, 1.0f));
    EXPECT_EQ(Color("F24236", 1.0f), Color(242, 66, 54, 1.0f));
    EXPECT_EQ(Color("0xe36397", 0.5f), Color(227, 99, 151, 0.5f));
    EXPECT_EQ(Color("0x2E86AB", 1.0f), Color(46, 134, 171, 1.0f));
    EXPECT_EQ(Color("0xFFFFFF", 1.0f), bw::COLOR_WHITE);
    EXPECT_EQ(Color("##F24236", 1.0f), Color(242, 66, 54, 1.0f)); // first two never examined
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
}

TEST_F(ColorCodeTest, ImproperLengthWarnsAndGivesOpaqueWhite) {
    EXPECT_EQ(Color("#F24236", 0.25f), Color(255, 255, 255, 1.0f));
    EXPECT_EQ(countLogLines("WARNING: provided improper length hex code: #F24236"), 1);
    EXPECT_EQ(Color(" 0xF24236", 1.0f), bw::COLOR_WHITE);
    EXPECT_EQ(countLogLines("WARNING: provided improper length hex code:  0xF24236"), 1);
}

TEST_F(ColorCodeTest, NonHexDigitsWarnAndGiveOpaqueWhite) {
    EXPECT_EQ(Color("0xGG0000", 0.5f), Color(255, 255, 255, 1.0f));
    EXPECT_TRUE(logHasLineStartingWith("WARNING: provided hex code with non-hexadecimal digits"));
}

} // namespace
