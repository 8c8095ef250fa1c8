// The web of strings: string bits at both ends of every change, the woven pattern, a line
// repaired from the border, warnings and the random searches.
#include "ScoreCounter.h"
#include "WebObject.h" // NO_POSITION

#include "LogReader.h"
#include "WebPlayTestSupport.h"

#include <algorithm>
#include <bit>

using bw::Vector;

namespace {

constexpr std::uint32_t ALL = UP | RIGHT | DOWN | LEFT;

class WebTest : public WebPlayTest {
protected:
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
    severStrings([](Vector c) { return !web().isEdge(c); });
    for (const Vector none : {web().getRandomIntersection(false), web().getRandomStringPosition(false)})
        EXPECT_EQ(none, NO_POSITION);
    EXPECT_TRUE(web().isEdge(web().getRandomIntersection(true)));
    severStrings();
    for (const Vector none : {web().getRandomIntersection(true), web().getRandomEdgeIntersection(),
                              web().getRandomStringPosition(true)}) EXPECT_EQ(none, NO_POSITION);
    // Strings that lead only to the border leave a string position at the intersection itself.
    web().repairConnection(Vector(1, 1), Vector(1, 0));
    web().repairConnection(Vector(1, 1), Vector(0, 1));
    for (int i = 0; i < 200; ++i) ASSERT_EQ(web().getRandomStringPosition(false), at(1, 1));
}

} // namespace
