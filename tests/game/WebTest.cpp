// The web of strings and the base of the objects that travel it: string bits at both ends of
// every change, the woven pattern, a line repaired from the border, warnings, geometry, the
// random searches, and the tracking of intersections passed.
#include "ScoreCounter.h"
#include "WebObject.h"

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

using bw::Vector;

namespace {

constexpr std::uint32_t ALL = UP | RIGHT | DOWN | LEFT;

class WebTest : public WebPlayTest {
protected:
    static Web& web() { return Web::getInstance(); }
    static std::uint32_t mask(float column, float row) { return web().getConnections(Vector(column, row)); }
    static long warnings() {
        return std::ranges::count_if(readLogLines(), [](auto& line) { return line.starts_with("WARNING:"); });
    }
};

TEST_F(WebTest, RepairLineRestoresTheCutStringsOnItsLineFromTheBorderForTwoHundredEach) {
    using Cuts = std::vector<std::pair<Vector, Vector>>;
    const std::set<WebString> woven = webStrings();
    // A border intersection, and the cut strings on its line, in the order met from there.
    for (const auto& [edge, cuts] :
         {std::pair(Vector(0, 2), Cuts{{{0, 2}, {1, 2}}, {{3, 2}, {4, 2}}, {{6, 2}, {7, 2}}}),
          {Vector(7, 3), Cuts{{{7, 3}, {6, 3}}, {{2, 3}, {1, 3}}}}, {Vector(5, 5), Cuts{{{5, 3}, {5, 2}}}},
          {Vector(3, 0), Cuts{{{3, 0}, {3, 1}}, {{3, 4}, {3, 5}}}}}) {
        SCOPED_TRACE(edge.toString());
        web().reset();
        ScoreCounter::getInstance().reset();
        std::vector<PopUpSighting> awards;
        for (const auto& [a, b] : cuts) {
            web().severConnection(a, b);
            awards.push_back({"200", at((a.getX() + b.getX()) / 2, (a.getY() + b.getY()) / 2), bw::COLOR_WHITE});
        }
        web().severConnection(Vector(2, 1), Vector(2, 2)); // on none of the lines
        web().repairLine(edge);
        std::set<WebString> expected = woven;
        expected.erase({2, 1, 2, 2});
        EXPECT_EQ(webStrings(), expected);
        EXPECT_EQ(takePopUps(), awards);
        EXPECT_EQ(ScoreCounter::getInstance().getScore(), 200 * static_cast<int>(cuts.size()));
    }
    EXPECT_EQ(warnings(), 0);
    // An interior intersection is refused: a warning, and nothing restored or awarded.
    web().severConnection(Vector(3, 2), Vector(4, 2));
    web().repairLine(Vector(3, 2));
    EXPECT_EQ(countLogLines("WARNING: repairLine provided non-edge, ignored"), 1);
    EXPECT_EQ(webStrings().size(), 56u);
    EXPECT_TRUE(takePopUps().empty());
}

TEST_F(WebTest, PairOperationsChangeBothEndsAndTellWhetherAnythingChangedRefusalsWarnAndResetReweaves) {
    // The result, then the string bits (or blink bits) at both ends afterwards.
    const auto expect = [](int result, int expected, Vector a, unsigned at_a, Vector b, unsigned at_b,
                           bool blink = false) {
        EXPECT_EQ(result, expected) << a.toString() << " " << b.toString();
        EXPECT_EQ(blink ? web().getFlashing(a) : web().getConnections(a), at_a) << a.toString();
        EXPECT_EQ(blink ? web().getFlashing(b) : web().getConnections(b), at_b) << b.toString();
    };
    const Vector w(2, 3), c(3, 3), n(3, 2), f(1, 4), g(2, 4);
    expect(web().severConnection(w, c), 1, w, UP | DOWN | LEFT, c, UP | RIGHT | DOWN);
    expect(web().severConnection(c, w), 0, w, UP | DOWN | LEFT, c, UP | RIGHT | DOWN);
    expect(web().severConnection(c, n), 1, c, RIGHT | DOWN, n, UP | RIGHT | LEFT);
    expect(web().repairConnection(n, c), 1, c, UP | RIGHT | DOWN, n, ALL);
    expect(web().repairConnection(n, c), 0, c, UP | RIGHT | DOWN, n, ALL);
    EXPECT_EQ(web().addOnIntersection(n, UP | DOWN), 0) << "nothing to add";
    expect(web().flashConnection(true, f, g), 1, f, RIGHT, g, LEFT, true);
    expect(web().flashConnection(true, g, f), 0, f, RIGHT, g, LEFT, true);
    EXPECT_EQ(mask(1, 4), ALL) << "blinking leaves the string intact";
    expect(web().flashConnection(false, f, g), 1, f, 0, g, 0, true);
    expect(web().flashConnection(false, g, f), 0, f, 0, g, 0, true);
    EXPECT_EQ(warnings(), 0);
    // Inside, a coordinate is looked up at the nearest intersection.
    expect(web().removeOnIntersection(Vector(2.6f, 3.4f), DOWN), 1, c, UP | RIGHT, Vector(3, 4), ALL);
    // Across the border: the inside end changes, the outside one warns, 1 + -1 is no change.
    const Vector e(7, 2);
    expect(web().repairConnection(e, Vector(8, 2)), 0, e, LEFT | RIGHT, e, LEFT | RIGHT);
    const std::set<WebString> strings = webStrings();
    EXPECT_EQ(web().severConnection(n, Vector(1, 2)) + web().repairConnection(n, n), -2);
    EXPECT_EQ(web().flashConnection(true, Vector(1, 1), c), -1);
    for (const std::string what : {"sever connection", "repair connection", "start flashing a connection"})
        EXPECT_EQ(countLogLines("WARNING: attempted to " + what + " between two non-adjacent web coordinates"), 1);
    // Outside the bounds, and inside them but rounding to column 8 or row 6.
    for (const Vector o : {Vector(8, 1), Vector(-1, 1), Vector(7.6f, 2), Vector(3, 5.5f)}) {
        EXPECT_EQ(web().removeOnIntersection(o, ALL) + web().addOnIntersection(o, ALL), -2) << o.toString();
        EXPECT_EQ(web().flashOnIntersection(true, o, ALL), -1) << o.toString();
    }
    for (const std::string what : {"remove", "add", "flash"}) // add: the border repair's outside end too
        EXPECT_EQ(countLogLines("WARNING: attempted to " + what + " on intersection out of bounds"),
                  what == "add" ? 5 : 4);
    EXPECT_EQ(warnings(), 16);
    EXPECT_EQ(webStrings(), strings);
    EXPECT_EQ(web().getFlashing(Vector(1, 1)) | web().getFlashing(Vector(7, 2)), 0u);
    // A reset weaves 58 strings without a loose end and stops all blinking.
    web().flashConnection(true, f, g);
    web().reset();
    int ends = 0; // a string end without its partner would count here but not in webStrings()
    for (int i = 0; i < Web::ROWS * Web::COLUMNS; ++i) ends += std::popcount(mask(i % Web::COLUMNS, i / Web::COLUMNS));
    EXPECT_EQ(std::tuple(webStrings().size(), ends, webStrings(true).size()), std::tuple(58u, 2 * 58, 0u));
}

TEST_F(WebTest, GeometryMapsTheWebOntoTheWholeWindowAndRoundsHalvesAwayFromZero) {
    for (const Vector c : {Vector(0, 0), Vector(7, 3), Vector(3, 5), Vector(6.6f, 2), Vector(3, 4.5f)})
        EXPECT_TRUE(web().isEdge(c)) << c.toString();
    EXPECT_FALSE(web().isEdge(Vector(6.4f, 4.4f)));
    EXPECT_TRUE(web().isInBounds(Vector(7.9f, 5.9f)));
    for (const Vector c : {Vector(8, 0), Vector(0, 6), Vector(-0.1f, 2)}) EXPECT_FALSE(web().isInBounds(c));
    EXPECT_EQ(at(7, 5), Vector(80, 24));
    EXPECT_EQ(web().worldToWeb(Vector(40, 12)), Vector(3.5f, 2.5f));
}

TEST_F(WebTest, RandomSearchesAvoidCornersBordersAndSeveredStringsUntilNoneIsLeft) {
    web().removeOnIntersection(Vector(3, 2), ALL);
    web().severConnection(Vector(0, 1), Vector(1, 1));
    web().severConnection(Vector(3, 0), Vector(3, 1));
    std::set<std::pair<float, float>> anchors;
    for (int i = 0; i < 3000; ++i) {
        const Vector inner = web().getRandomIntersection(false), edge = web().getRandomEdgeIntersection();
        ASSERT_TRUE(!web().isEdge(inner) && web().getConnections(inner) != 0) << inner.toString();
        ASSERT_NE(web().getConnections(web().getRandomIntersection(true)), 0u);
        ASSERT_TRUE(web().isInBounds(edge) && web().isEdge(edge) && web().getConnections(edge)) << edge.toString();
        anchors.insert({edge.getX(), edge.getY()});
    }
    EXPECT_EQ(anchors.size(), 18u) << "20 anchors but 2 cut";
    // With only border string ends left the interior searches find nothing; with none, no search.
    for (int i = 0; i < Web::INTERIOR_ROWS * Web::INTERIOR_COLUMNS; ++i)
        web().removeOnIntersection(Vector(1 + i % Web::INTERIOR_COLUMNS, 1 + i / Web::INTERIOR_COLUMNS), ALL);
    for (const Vector none : {web().getRandomIntersection(false), web().getRandomStringPosition(false)})
        EXPECT_EQ(none, NO_POSITION);
    EXPECT_TRUE(web().isEdge(web().getRandomIntersection(true)));
    severAllStrings();
    for (const Vector none : {web().getRandomIntersection(true), web().getRandomEdgeIntersection(),
                              web().getRandomStringPosition(true)}) EXPECT_EQ(none, NO_POSITION);
    // Strings that lead only to the border leave a string position at the intersection itself.
    web().repairConnection(Vector(1, 1), Vector(1, 0));
    web().repairConnection(Vector(1, 1), Vector(0, 1));
    for (int i = 0; i < 200; ++i) ASSERT_EQ(web().getRandomStringPosition(false), at(1, 1));
}

TEST_F(WebTest, DirectionShuffleIsAPermutationThatDrawsThreeRandomNumbers) {
    // Spiders seeded in the same second must draw alike, so the shuffle's draws are fixed: three.
    std::set<std::array<std::uint32_t, 4>> orders;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::srand(seed);
        std::array<std::uint32_t, 4> order = Web::shuffledDirections();
        orders.insert(order);
        const int next = std::rand();
        std::srand(seed);
        for (int draw = 0; draw < 3; ++draw) std::rand();
        ASSERT_EQ(std::rand(), next) << "seed " << seed;
        std::ranges::sort(order);
        ASSERT_EQ(order, (std::array<std::uint32_t, 4>{UP, RIGHT, DOWN, LEFT})) << "seed " << seed;
    }
    EXPECT_EQ(orders.size(), 24u) << "every order of the four directions turns up";
}

TEST_F(WebTest, WebObjectReportsEachIntersectionOnceWhenPassedOrAbandoned) {
    auto* walker = new WebObject;
    const auto crossed = [&] { return walker->crossedIntersection(); };
    EXPECT_EQ(walker->getNextIntersection(), NO_POSITION) << "at rest";
    walker->setPosition(at(2, 1));
    walker->setVelocity(Vector(0.6f, 0));
    EXPECT_EQ(walker->getNextIntersection(), Vector(2, 1)) << "standing on it";
    // The stored target was NO_POSITION; then it is still heading for (2, 1).
    EXPECT_EQ((std::pair{crossed(), crossed()}), std::pair(NO_POSITION, NO_POSITION));
    bw::WorldManager::getInstance().update();
    EXPECT_EQ(walker->getNextIntersection(), Vector(3, 1));
    EXPECT_EQ((std::pair{crossed(), crossed()}), std::pair(Vector(2, 1), NO_POSITION));
    // Stopping or reversing reports the target although it was never reached.
    walker->setSpeed(0);
    EXPECT_EQ(crossed(), Vector(3, 1));
    walker->setVelocity(Vector(-0.6f, 0));
    EXPECT_EQ(crossed(), NO_POSITION);
    EXPECT_EQ(walker->getTargetIntersection(), Vector(2, 1));
}

} // namespace
