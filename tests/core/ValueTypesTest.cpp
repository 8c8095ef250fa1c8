// Vectors, boxes and colours: the value types every subsystem shares.
#include "Box.h"
#include "Color.h"
#include "LogManager.h"
#include "Vector.h"

#include "ResourceTestSupport.h"
#include "TempWorkDir.h"

#include <SFML/Graphics/Color.hpp>
#include <gtest/gtest.h>

#include <tuple>

using bw::Box;
using bw::Color;
using bw::Vector;

namespace {

TEST(Vector, ArithmeticLengthAndFormatting) {
    const Vector v(3, 4), w(1, -2);
    EXPECT_EQ(std::tuple(v.getMagnitude(), v + w, v - w, w.distance(Vector(4, 2)), w.distanceSquared(Vector(4, 2))),
              std::tuple(5.0f, Vector(4, 2), Vector(2, 6), 5.0f, 25.0f));
    Vector u = v, unit = v, zero;
    (u += w) -= Vector(4, 0);
    u.scale(-0.5f);
    unit.normalize();
    zero.normalize(); // stays zero, no division by its length
    EXPECT_EQ(std::tuple(u, unit, zero), std::tuple(Vector(0, -1), Vector(0.6f, 0.8f), Vector(0, 0)));
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 2.0001f) || Vector(1, 2) == Vector(2, 1)); // exact, both coordinates
    EXPECT_EQ(Vector(-0.25f, 100).toString(), "(-0.250000, 100.000000)");
}

TEST(Box, TouchingEdgesAndCornersOverlap) {
    const Box a(Vector(0, 0), 3, 1);
    const Box point(Vector(2, 2), 0, 0);
    const struct {
        Box first, second;
        bool overlap;
    } cases[] = {
        {a, Box(Vector(3, 0), 3, 1), true},        {a, Box(Vector(3.01f, 0), 3, 1), false}, // edge x = 3
        {a, Box(Vector(3, 1), 1, 1), true},        {a, Box(Vector(0, 1.5f), 3, 1), false},  // corner, below
        {point, Box(Vector(0, 0), 4, 4), true},    {point, Box(Vector(2.5f, 0), 4, 4), false},
        {Box(Vector(0, 0), 2, 2), point, true},    {Box(Vector(-1, 2.5f), 4, 4), point, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bw::boxIntersectsBox(c.first, c.second), c.overlap) << c.second.getCorner().toString();
        EXPECT_EQ(bw::boxIntersectsBox(c.second, c.first), c.overlap) << "either order";
    }
}

TEST(Color, PackedValuesAndConversions) {
    EXPECT_EQ(Color(), Color(255, 255, 255, 1.0f));
    EXPECT_EQ(Color(0x80332211u), Color(0x11, 0x22, 0x33, 128 / 255.0f)); // alpha, blue, green, red
    EXPECT_EQ(Color(255, 255, 255, 1.0f).toString(), "(255, 255, 255, 1.000000)");
    EXPECT_EQ(Color(227, 99, 151, 0.5f).toHexString(), "0xe36397");
    EXPECT_EQ(Color(300, 20, 30, 0.999f).toDisplayColor(), sf::Color(300 & 0xFF, 20, 30, 254));
}

TEST(Color, CodesParseAndBadOnesWarnAndGiveOpaqueWhite) {
    TempWorkDir dir;
    restartLogForResourceTest();
    EXPECT_EQ(Color("0xF24236", 1.0f), Color(242, 66, 54, 1.0f));
    EXPECT_EQ(Color("F24236", 1.0f), Color(242, 66, 54, 1.0f));
    EXPECT_EQ(Color("##e36397", 0.5f), Color(227, 99, 151, 0.5f)); // the first two are never examined
    for (const char* bad : {"#F24236", " 0xF24236", "0xGG0000"}) EXPECT_EQ(Color(bad, 0.25f), bw::COLOR_WHITE) << bad;
    EXPECT_EQ(resourceLogMessages(), (std::vector<std::string>{
                                         "WARNING: provided improper length hex code: #F24236",
                                         "WARNING: provided improper length hex code:  0xF24236",
                                         "WARNING: provided hex code with non-hexadecimal digits: 0xGG0000"}));
    bw::LogManager::getInstance().shutDown();
}

} // namespace
