// The web of strings and the base of the objects that travel it: string bits at both ends of
// every change, the woven pattern, warnings, geometry, the random searches, repairLine, and the
// tracking of intersections passed.
#include "Web.h"

#include "LogManager.h"
#include "ScoreCounter.h"
#include "WebObject.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"
#include "WebPlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using bw::Vector;

namespace {

const std::string SEVER_WARNING =
    "WARNING: attempted to sever connection between two non-adjacent web coordinates";
const std::string REPAIR_WARNING =
    "WARNING: attempted to repair connection between two non-adjacent web coordinates";
const std::string FLASH_WARNING =
    "WARNING: attempted to start flashing a connection between two non-adjacent web coordinates";
const std::string REMOVE_OUT_WARNING = "WARNING: attempted to remove on intersection out of bounds";
const std::string FLASH_OUT_WARNING = "WARNING: attempted to flash on intersection out of bounds";
const std::string REPAIR_LINE_WARNING = "WARNING: repairLine provided non-edge, ignored";

const bw::Color WHITE(255, 255, 255, 1.0f);

int warningCount() {
    int count = 0;
    for (const std::string& line : readLogLines())
        if (line.rfind("WARNING:", 0) == 0) ++count;
    return count;
}

bool isCorner(int column, int row) { return (column == 0 || column == 7) && (row == 0 || row == 5); }

class WebTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.shutDown();
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        world.startUp();
    }
    void TearDown() override {
        // Destroys the web and the score counter too; the next test weaves a fresh web.
        world.shutDown();
        log.shutDown();
    }

    Vector world_of(float column, float row) const { return web().webToWorld(Vector(column, row)); }
    static Web& web() { return Web::getInstance(); }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    bw::WorldManager& world = bw::WorldManager::getInstance();
};

// --- The woven web ---------------------------------------------------------------------------

TEST_F(WebTest, FreshWebHasCornersEmptyAnchorsPointingInwardAndFullInterior) {
    EXPECT_EQ(countIntactStrings(), 58);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 8; ++column) {
            const std::uint32_t mask = web().getConnections(Vector(column, row));
            std::uint32_t expected = UP | RIGHT | DOWN | LEFT;
            if (isCorner(column, row)) expected = 0;
            else if (row == 0) expected = DOWN;
            else if (row == 5) expected = UP;
            else if (column == 0) expected = RIGHT;
            else if (column == 7) expected = LEFT;
            EXPECT_EQ(mask, expected) << "at (" << column << ", " << row << ")";
            EXPECT_EQ(web().getFlashing(Vector(column, row)), 0u);
        }
    }
}

TEST_F(WebTest, WebIsAnIntangibleVisibleObjectAtTheWindowCentre) {
    EXPECT_EQ(web().getType(), "Web");
    EXPECT_EQ(web().getSolidness(), bw::INTANGIBLE);
    EXPECT_EQ(web().getAltitude(), 1);
    EXPECT_EQ(web().getPosition(), Vector(40, 12));
    EXPECT_TRUE(web().isVisible());
}

TEST_F(WebTest, ResetReweavesStopsBlinkingAndShows) {
    web().severConnection(Vector(2, 3), Vector(3, 3));
    web().severConnection(Vector(0, 1), Vector(1, 1));
    web().flashConnection(true, Vector(4, 4), Vector(4, 5));
    web().hide();
    EXPECT_FALSE(web().isVisible());

    web().reset();
    EXPECT_TRUE(web().isVisible());
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(web().getConnections(Vector(0, 1)), static_cast<std::uint32_t>(RIGHT));
    EXPECT_EQ(web().getFlashing(Vector(4, 4)), 0u);
    EXPECT_EQ(web().getFlashing(Vector(4, 5)), 0u);
}

// --- Changing strings at both ends -----------------------------------------------------------

TEST_F(WebTest, SeverClearsBothEndsOnceThenReportsNothingToDo) {
    EXPECT_EQ(web().severConnection(Vector(2, 3), Vector(3, 3)), 1);
    EXPECT_EQ(web().getConnections(Vector(2, 3)), static_cast<std::uint32_t>(UP | DOWN | LEFT));
    EXPECT_EQ(web().getConnections(Vector(3, 3)), static_cast<std::uint32_t>(UP | RIGHT | DOWN));
    EXPECT_EQ(web().severConnection(Vector(2, 3), Vector(3, 3)), 0);
    EXPECT_EQ(web().severConnection(Vector(3, 3), Vector(2, 3)), 0) << "same string from the other end";

    EXPECT_EQ(web().severConnection(Vector(3, 3), Vector(3, 2)), 1);
    EXPECT_EQ(web().getConnections(Vector(3, 3)), static_cast<std::uint32_t>(RIGHT | DOWN));
    EXPECT_EQ(web().getConnections(Vector(3, 2)), static_cast<std::uint32_t>(UP | RIGHT | LEFT));
    EXPECT_EQ(countIntactStrings(), 56);
    EXPECT_EQ(warningCount(), 0);
}

TEST_F(WebTest, RepairRestoresBothEndsOnceThenReportsNothingToDo) {
    web().severConnection(Vector(4, 2), Vector(4, 3));
    EXPECT_EQ(web().repairConnection(Vector(4, 3), Vector(4, 2)), 1);
    EXPECT_EQ(web().getConnections(Vector(4, 2)), 15u);
    EXPECT_EQ(web().getConnections(Vector(4, 3)), 15u);
    EXPECT_EQ(web().repairConnection(Vector(4, 3), Vector(4, 2)), 0);

    // Only one end missing still counts as a repair.
    web().removeOnIntersection(Vector(5, 2), LEFT);
    EXPECT_EQ(web().repairConnection(Vector(4, 2), Vector(5, 2)), 1);
    EXPECT_EQ(web().getConnections(Vector(5, 2)), 15u);
    EXPECT_EQ(warningCount(), 0);
}

TEST_F(WebTest, RepairAcrossTheBorderSetsTheInsideEndAndWarnsForTheOutside) {
    EXPECT_EQ(web().repairConnection(Vector(7, 2), Vector(8, 2)), 0);
    EXPECT_EQ(web().getConnections(Vector(7, 2)), static_cast<std::uint32_t>(LEFT | RIGHT));
    EXPECT_EQ(warningCount(), 1);
    EXPECT_EQ(countLogLines(REPAIR_WARNING), 0) << "the pair is adjacent; only the outside end is refused";
}

TEST_F(WebTest, FlashSetsAndClearsBlinkBitsAtBothEnds) {
    EXPECT_EQ(web().flashConnection(true, Vector(1, 4), Vector(2, 4)), 1);
    EXPECT_EQ(web().getFlashing(Vector(1, 4)), static_cast<std::uint32_t>(RIGHT));
    EXPECT_EQ(web().getFlashing(Vector(2, 4)), static_cast<std::uint32_t>(LEFT));
    EXPECT_EQ(web().flashConnection(true, Vector(2, 4), Vector(1, 4)), 0);
    EXPECT_EQ(web().getConnections(Vector(1, 4)), 15u) << "blinking leaves the string intact";

    EXPECT_EQ(web().flashConnection(false, Vector(1, 4), Vector(2, 4)), 1);
    EXPECT_EQ(web().getFlashing(Vector(1, 4)), 0u);
    EXPECT_EQ(web().getFlashing(Vector(2, 4)), 0u);
    EXPECT_EQ(web().flashConnection(false, Vector(1, 4), Vector(2, 4)), 0);
}

TEST_F(WebTest, NonAdjacentPairsAreRefusedWithTheirWarnings) {
    EXPECT_EQ(web().severConnection(Vector(2, 2), Vector(4, 2)), -1);
    EXPECT_EQ(web().repairConnection(Vector(2, 2), Vector(2, 2)), -1);
    EXPECT_EQ(web().flashConnection(true, Vector(1, 1), Vector(3, 3)), -1);
    EXPECT_EQ(web().flashConnection(false, Vector(1, 1), Vector(3, 3)), -1);
    EXPECT_EQ(countLogLines(SEVER_WARNING), 1);
    EXPECT_EQ(countLogLines(REPAIR_WARNING), 1);
    EXPECT_EQ(countLogLines(FLASH_WARNING), 2);
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(web().getFlashing(Vector(1, 1)), 0u);
}

TEST_F(WebTest, SingleIntersectionChangesOutsideTheWebWarnAndChangeNothing) {
    EXPECT_EQ(web().removeOnIntersection(Vector(8, 1), LEFT), -1);
    EXPECT_EQ(web().flashOnIntersection(true, Vector(-1, 1), RIGHT), -1);
    EXPECT_EQ(web().addOnIntersection(Vector(3, 6), UP), -1);
    EXPECT_EQ(countLogLines(REMOVE_OUT_WARNING), 1);
    EXPECT_EQ(countLogLines(FLASH_OUT_WARNING), 1);
    EXPECT_EQ(warningCount(), 3);
    EXPECT_EQ(countIntactStrings(), 58);
}

TEST_F(WebTest, CoordinatesInBoundsThatRoundPastTheGridAreRefused) {
    // (7.6, 2) is inside the web's bounds but rounds to column 8, which does not exist.
    EXPECT_EQ(web().removeOnIntersection(Vector(7.6f, 2), LEFT | RIGHT), -1);
    EXPECT_EQ(web().addOnIntersection(Vector(3, 5.5f), DOWN), -1);
    EXPECT_EQ(web().flashOnIntersection(true, Vector(7.9f, 5.9f), UP), -1);
    EXPECT_EQ(countLogLines(REMOVE_OUT_WARNING), 1);
    EXPECT_EQ(countLogLines(FLASH_OUT_WARNING), 1);
    EXPECT_EQ(warningCount(), 3);
    EXPECT_EQ(countIntactStrings(), 58);
    EXPECT_EQ(web().getConnections(Vector(0, 3)), static_cast<std::uint32_t>(RIGHT));
    EXPECT_EQ(web().getConnections(Vector(7, 2)), static_cast<std::uint32_t>(LEFT));
}

TEST_F(WebTest, SingleIntersectionResultsSayWhetherAnythingChanged) {
    EXPECT_EQ(web().removeOnIntersection(Vector(3, 3), UP | LEFT), 1);
    EXPECT_EQ(web().getConnections(Vector(3, 3)), static_cast<std::uint32_t>(RIGHT | DOWN));
    EXPECT_EQ(web().removeOnIntersection(Vector(3, 3), UP), 0);
    EXPECT_EQ(web().addOnIntersection(Vector(3, 3), UP | RIGHT), 1) << "one of the bits was missing";
    EXPECT_EQ(web().addOnIntersection(Vector(3, 3), UP | RIGHT), 0);
    // Coordinates are looked up at the nearest intersection.
    EXPECT_EQ(web().removeOnIntersection(Vector(2.6f, 3.4f), DOWN), 1);
    EXPECT_EQ(web().getConnections(Vector(3, 3)), static_cast<std::uint32_t>(UP | RIGHT));
}

// --- Geometry --------------------------------------------------------------------------------

TEST_F(WebTest, EdgeAndBoundsTests) {
    EXPECT_TRUE(web().isEdge(Vector(0, 0)));
    EXPECT_TRUE(web().isEdge(Vector(7, 3)));
    EXPECT_TRUE(web().isEdge(Vector(3, 5)));
    EXPECT_TRUE(web().isEdge(Vector(6.6f, 2)));
    EXPECT_TRUE(web().isEdge(Vector(3, 4.5f))) << "halves round away from zero";
    EXPECT_FALSE(web().isEdge(Vector(3, 3)));
    EXPECT_FALSE(web().isEdge(Vector(6.4f, 4.4f)));

    EXPECT_TRUE(web().isInBounds(Vector(7.9f, 5.9f)));
    EXPECT_TRUE(web().isInBounds(Vector(0, 0)));
    EXPECT_FALSE(web().isInBounds(Vector(8, 0)));
    EXPECT_FALSE(web().isInBounds(Vector(0, 6)));
    EXPECT_FALSE(web().isInBounds(Vector(-0.1f, 2)));

    EXPECT_TRUE(web().isAdjacent(Vector(2, 2), Vector(3, 2)));
    EXPECT_TRUE(web().isAdjacent(Vector(2, 2), Vector(2, 1)));
    EXPECT_FALSE(web().isAdjacent(Vector(2, 2), Vector(4, 2)));
    EXPECT_FALSE(web().isAdjacent(Vector(2, 2), Vector(2, 2)));
}

TEST_F(WebTest, WebCoordinatesMapOntoTheWholeWindow) {
    EXPECT_EQ(world_of(7, 5), Vector(80, 24));
    EXPECT_EQ(world_of(0, 0), Vector(0, 0));
    EXPECT_NEAR(world_of(1, 1).getX(), 11.4286f, 1e-3f);
    EXPECT_NEAR(world_of(1, 1).getY(), 4.8f, 1e-5f);
    EXPECT_NEAR(world_of(-1, 1).getX(), -11.4286f, 1e-3f);
    EXPECT_EQ(web().worldToWeb(Vector(40, 12)), Vector(3.5f, 2.5f));
}

TEST_F(WebTest, RoundTripIsExactExceptForColumnsThreeAndSix) {
    for (int row = 0; row < 6; ++row) {
        const float y = static_cast<float>(row);
        EXPECT_EQ(web().worldToWeb(world_of(1, y)).getY(), y) << "row " << row;
    }
    for (int column : {0, 1, 2, 4, 5, 7}) {
        const float x = static_cast<float>(column);
        EXPECT_EQ(web().worldToWeb(world_of(x, 1)).getX(), x) << "column " << column;
    }
    // Single precision in the order (c / 7) × H: the two columns that do not come back whole.
    EXPECT_EQ(web().worldToWeb(world_of(3, 1)).getX(), 2.9999998f);
    EXPECT_EQ(web().worldToWeb(world_of(6, 1)).getX(), 5.9999995f);
}

TEST_F(WebTest, DirectionToOffsetSumsTheBits) {
    EXPECT_EQ(Web::directionToOffset(UP), Vector(0, -1));
    EXPECT_EQ(Web::directionToOffset(RIGHT), Vector(1, 0));
    EXPECT_EQ(Web::directionToOffset(DOWN), Vector(0, 1));
    EXPECT_EQ(Web::directionToOffset(LEFT), Vector(-1, 0));
    EXPECT_EQ(Web::directionToOffset(UP | RIGHT), Vector(1, -1));
    EXPECT_EQ(Web::directionToOffset(0), Vector(0, 0));
}

// --- Drawing without a window ----------------------------------------------------------------

TEST_F(WebTest, HiddenWebNeitherDrawsNorAdvancesTheBlinkCounter) {
    const int before = Web::getBlinkCounter();
    web().hide();
    EXPECT_EQ(web().draw(), 0);
    EXPECT_EQ(Web::getBlinkCounter(), before);
    EXPECT_EQ(warningCount(), 0) << "a hidden web must not even try to draw";

    web().reset();
    EXPECT_EQ(web().draw(), 0) << "without a window every character fails, the draw still returns 0";
    EXPECT_EQ(Web::getBlinkCounter(), before + 1);
    EXPECT_GT(warningCount(), 0);
}

// --- Random placement ------------------------------------------------------------------------

TEST_F(WebTest, RandomInteriorIntersectionIsNeverBorderNorWithoutStrings) {
    // Two interior intersections lose every string.
    for (const Vector c : {Vector(3, 2), Vector(6, 4)})
        for (const std::uint32_t bit : {UP, RIGHT, DOWN, LEFT})
            web().severConnection(c, c + Web::directionToOffset(bit));
    for (int i = 0; i < 2000; ++i) {
        const Vector c = web().getRandomIntersection(false);
        ASSERT_FALSE(web().isEdge(c)) << c.toString();
        ASSERT_NE(web().getConnections(c), 0u) << c.toString();
        ASSERT_EQ(c.getX(), std::round(c.getX()));
        ASSERT_EQ(c.getY(), std::round(c.getY()));
    }
}

TEST_F(WebTest, RandomIntersectionWithBorderReachesAnchorsButNotCorners) {
    bool saw_border = false;
    for (int i = 0; i < 2000; ++i) {
        const Vector c = web().getRandomIntersection(true);
        ASSERT_TRUE(web().isInBounds(c));
        ASSERT_NE(web().getConnections(c), 0u) << c.toString();
        saw_border = saw_border || web().isEdge(c);
    }
    EXPECT_TRUE(saw_border);
}

TEST_F(WebTest, RandomEdgeIntersectionIsNeverACornerNorASeveredAnchor) {
    web().severConnection(Vector(0, 1), Vector(1, 1));
    web().severConnection(Vector(3, 0), Vector(3, 1));
    web().severConnection(Vector(7, 4), Vector(6, 4));
    web().severConnection(Vector(5, 5), Vector(5, 4));
    bool seen[6][8] = {};
    for (int i = 0; i < 4000; ++i) {
        const Vector c = web().getRandomEdgeIntersection();
        ASSERT_TRUE(web().isInBounds(c)) << c.toString();
        ASSERT_TRUE(web().isEdge(c)) << c.toString();
        ASSERT_NE(web().getConnections(c), 0u) << c.toString();
        const int column = static_cast<int>(c.getX());
        const int row = static_cast<int>(c.getY());
        ASSERT_FALSE(isCorner(column, row));
        seen[row][column] = true;
    }
    int anchors_seen = 0;
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 8; ++column) anchors_seen += seen[row][column] ? 1 : 0;
    EXPECT_EQ(anchors_seen, 16) << "each of the 20 anchors but the four cut ones turns up";
}

TEST_F(WebTest, RandomStringPositionLiesOnAHorizontalStringAtMostSevenEighthsAlong) {
    // Only (2, 2) has a string end left, pointing right at an interior intersection.
    severEverything();
    web().addOnIntersection(Vector(2, 2), RIGHT);
    const Vector start = world_of(2, 2);
    const float spacing = world_of(3, 2).getX() - start.getX();
    float farthest = 0;
    for (int i = 0; i < 3000; ++i) {
        const Vector p = web().getRandomStringPosition(false);
        ASSERT_EQ(p.getY(), start.getY()) << p.toString();
        ASSERT_GE(p.getX(), start.getX()) << p.toString();
        ASSERT_LT(p.getX() - start.getX(), spacing * 7 / 8) << p.toString();
        farthest = std::max(farthest, p.getX() - start.getX());
    }
    EXPECT_GT(farthest, spacing * 0.8f) << "fractions up to 0.999 of an eighth of the window width";
}

TEST_F(WebTest, RandomStringPositionLiesOnAVerticalStringAtMostFiveSixthsAlong) {
    severEverything();
    web().addOnIntersection(Vector(4, 3), UP);
    const Vector start = world_of(4, 3);
    const float spacing = start.getY() - world_of(4, 2).getY();
    float farthest = 0;
    for (int i = 0; i < 3000; ++i) {
        const Vector p = web().getRandomStringPosition(false);
        ASSERT_EQ(p.getX(), start.getX()) << p.toString();
        ASSERT_LE(p.getY(), start.getY()) << p.toString();
        ASSERT_LT(start.getY() - p.getY(), spacing * 5 / 6) << p.toString();
        farthest = std::max(farthest, start.getY() - p.getY());
    }
    EXPECT_GT(farthest, spacing * 0.75f);
}

TEST_F(WebTest, RandomStringPositionIsTheIntersectionItselfWhenItsStringsLeadOnlyToTheBorder) {
    severEverything();
    web().repairConnection(Vector(1, 1), Vector(1, 0));
    web().repairConnection(Vector(1, 1), Vector(0, 1));
    for (int i = 0; i < 200; ++i) ASSERT_EQ(web().getRandomStringPosition(false), world_of(1, 1));
}

TEST_F(WebTest, RandomSearchesGiveNoPositionWhenNoStringIsLeft) {
    severEverything();
    EXPECT_EQ(countIntactStrings(), 0);
    EXPECT_EQ(web().getRandomIntersection(false), NO_POSITION);
    EXPECT_EQ(web().getRandomIntersection(true), NO_POSITION);
    EXPECT_EQ(web().getRandomEdgeIntersection(), NO_POSITION);
    EXPECT_EQ(web().getRandomStringPosition(false), NO_POSITION);
    EXPECT_EQ(web().getRandomStringPosition(true), NO_POSITION);
}

TEST_F(WebTest, InteriorSearchGivesNoPositionWhileOnlyBorderStringEndsRemain) {
    for (int row = 1; row <= 4; ++row)
        for (int column = 1; column <= 6; ++column) web().removeOnIntersection(Vector(column, row), 15);
    EXPECT_EQ(web().getRandomIntersection(false), NO_POSITION);
    EXPECT_EQ(web().getRandomStringPosition(false), NO_POSITION);
    EXPECT_TRUE(web().isEdge(web().getRandomIntersection(true)));
    EXPECT_TRUE(web().isEdge(web().getRandomEdgeIntersection()));
}

// --- repairLine ------------------------------------------------------------------------------

TEST_F(WebTest, RepairLineFromTheTopRestoresTheColumnAndPaysPerBrokenString) {
    web().severConnection(Vector(3, 0), Vector(3, 1));
    web().severConnection(Vector(3, 2), Vector(3, 3));
    web().severConnection(Vector(3, 4), Vector(3, 5));
    web().severConnection(Vector(2, 2), Vector(3, 2)); // not on the line: stays cut
    const int score = ScoreCounter::getInstance().getScore();
    PopUpWatcher popups;

    web().repairLine(Vector(3, 0));

    EXPECT_EQ(countIntactStrings(), 57);
    EXPECT_EQ(web().getConnections(Vector(3, 0)), static_cast<std::uint32_t>(DOWN));
    EXPECT_EQ(web().getConnections(Vector(3, 5)), static_cast<std::uint32_t>(UP));
    EXPECT_EQ(web().getConnections(Vector(3, 2)), static_cast<std::uint32_t>(UP | RIGHT | DOWN));
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), score + 600);

    const std::vector<PopUpSighting> seen = popups.newPopUps();
    ASSERT_EQ(seen.size(), 3u);
    const float middles[] = {0.5f, 2.5f, 4.5f};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].text, "200");
        EXPECT_EQ(seen[i].color, WHITE);
        EXPECT_EQ(seen[i].position, world_of(3, middles[i])) << "popup " << i;
    }
    EXPECT_EQ(warningCount(), 0);
}

TEST_F(WebTest, RepairLineFromTheRightWalksTheRowLeftwards) {
    web().severConnection(Vector(6, 2), Vector(7, 2));
    web().severConnection(Vector(0, 2), Vector(1, 2));
    PopUpWatcher popups;

    web().repairLine(Vector(7, 2));

    EXPECT_EQ(countIntactStrings(), 58);
    const std::vector<PopUpSighting> seen = popups.newPopUps();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].position, world_of(6.5f, 2)) << "the line starts at the given border";
    EXPECT_EQ(seen[1].position, world_of(0.5f, 2));
}

TEST_F(WebTest, RepairLineOfAnIntactColumnPaysNothing) {
    const int score = ScoreCounter::getInstance().getScore();
    web().repairLine(Vector(5, 5));
    EXPECT_EQ(ScoreCounter::getInstance().getScore(), score);
    EXPECT_EQ(world.objectsOfType("PopUp").getCount(), 0);
}

TEST_F(WebTest, RepairLineFromInsideOnlyWarns) {
    web().severConnection(Vector(3, 3), Vector(3, 4));
    web().repairLine(Vector(3, 3));
    EXPECT_EQ(countLogLines(REPAIR_LINE_WARNING), 1);
    EXPECT_EQ(countIntactStrings(), 57);
    EXPECT_EQ(world.objectsOfType("PopUp").getCount(), 0);
}

// --- WebObject -------------------------------------------------------------------------------

TEST_F(WebTest, WebObjectStartsAtAltitudeOneWithoutTarget) {
    WebObject object;
    EXPECT_EQ(object.getAltitude(), 1);
    EXPECT_EQ(object.getTargetIntersection(), NO_POSITION);
    EXPECT_EQ(object.getNextIntersection(), NO_POSITION) << "at rest";
    EXPECT_EQ(object.crossedIntersection(), NO_POSITION);
}

TEST_F(WebTest, WebObjectReportsAnIntersectionOnceWhenItIsPassed) {
    auto* object = new WebObject;
    object->setPosition(world_of(2, 1));
    object->setVelocity(Vector(0.6f, 0));
    EXPECT_EQ(object->getNextIntersection(), Vector(2, 1)) << "standing on it";
    EXPECT_EQ(object->crossedIntersection(), NO_POSITION) << "first call";
    EXPECT_EQ(object->getTargetIntersection(), Vector(2, 1));
    EXPECT_EQ(object->crossedIntersection(), NO_POSITION) << "still heading for it";

    world.update();
    EXPECT_EQ(object->getNextIntersection(), Vector(3, 1));
    EXPECT_EQ(object->crossedIntersection(), Vector(2, 1));
    EXPECT_EQ(object->getTargetIntersection(), Vector(3, 1));
    EXPECT_EQ(object->crossedIntersection(), NO_POSITION);
}

TEST_F(WebTest, WebObjectNextIntersectionFollowsEachDirection) {
    WebObject object;
    object.setPosition(world_of(2.5f, 1));
    object.setVelocity(Vector(-0.6f, 0));
    EXPECT_EQ(object.getNextIntersection(), Vector(2, 1));
    object.setPosition(world_of(4, 2.5f));
    object.setVelocity(Vector(0, 0.6f));
    EXPECT_EQ(object.getNextIntersection(), Vector(4, 3));
    object.setVelocity(Vector(0, -0.6f));
    EXPECT_EQ(object.getNextIntersection(), Vector(4, 2));
    // Left of the window, running in.
    object.setPosition(world_of(-0.5f, 3));
    object.setVelocity(Vector(0.6f, 0));
    EXPECT_EQ(object.getNextIntersection(), Vector(0, 3));
}

TEST_F(WebTest, WebObjectThatStopsOrReversesReportsWhereItWasHeading) {
    WebObject object;
    object.setPosition(world_of(4.5f, 2));
    object.setVelocity(Vector(0.6f, 0));
    object.crossedIntersection();
    ASSERT_EQ(object.getTargetIntersection(), Vector(5, 2));

    object.setSpeed(0);
    EXPECT_EQ(object.getNextIntersection(), NO_POSITION);
    EXPECT_EQ(object.crossedIntersection(), Vector(5, 2)) << "never got there, reported all the same";
    EXPECT_EQ(object.getTargetIntersection(), NO_POSITION);

    object.setVelocity(Vector(-0.6f, 0));
    EXPECT_EQ(object.crossedIntersection(), NO_POSITION) << "the stored target was NO_POSITION";
    EXPECT_EQ(object.getTargetIntersection(), Vector(4, 2));
}

TEST_F(WebTest, WebObjectOnColumnThreeCarriesTheUnroundedColumn) {
    WebObject object;
    object.setPosition(world_of(3, 1));
    object.setVelocity(Vector(0, 0.6f));
    const Vector next = object.getNextIntersection();
    EXPECT_EQ(next.getX(), 2.9999998f);
    EXPECT_EQ(next.getY(), 1.0f);
    object.crossedIntersection();
    object.setPosition(object.getPosition() + Vector(0, 0.24f));
    const Vector passed = object.crossedIntersection();
    EXPECT_EQ(passed, Vector(2.9999998f, 1));
    // The web rounds such values when it looks them up.
    web().severConnection(passed, passed + Vector(0, 1));
    EXPECT_EQ(web().getConnections(Vector(3, 1)), static_cast<std::uint32_t>(UP | RIGHT | LEFT));
    EXPECT_EQ(web().getConnections(Vector(3, 2)), static_cast<std::uint32_t>(RIGHT | DOWN | LEFT));
}

} // namespace
