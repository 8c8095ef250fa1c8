#pragma once

#include "SingletonObject.h"
#include "Vector.h"

#include <array>
#include <cstdint>
#include <string>

/// String bits of one intersection: which of its four strings are intact (or blinking).
enum WebDirection : std::uint32_t {
    UP = 1,    ///< to (x, y - 1)
    RIGHT = 2, ///< to (x + 1, y)
    DOWN = 4,  ///< to (x, y + 1)
    LEFT = 8,  ///< to (x - 1, y)
};

/// The playing field: 8 columns × 6 rows of intersections joined by strings, spanning the whole
/// window. Web coordinates are (column 0–7, row 0–5); lookups round each component to the
/// nearest whole number. Operations that change strings return 1 when they changed something,
/// 0 when there was nothing to change and -1 after logging a warning. The one web is created
/// (and woven) by the first getInstance() call.
class Web : public SingletonObject<Web> {
public:
    static constexpr int COLUMNS = 8;
    static constexpr int ROWS = 6;
    /// The right border's column and the bottom border's row.
    static constexpr int LAST_COLUMN = COLUMNS - 1;
    static constexpr int LAST_ROW = ROWS - 1;
    /// Columns 1 to LAST_COLUMN − 1 and rows 1 to LAST_ROW − 1 are the interior.
    static constexpr int INTERIOR_COLUMNS = COLUMNS - 2;
    static constexpr int INTERIOR_ROWS = ROWS - 2;

    /// Draws junctions and strings, blinking ones red and grey. Always 0.
    int draw() override;

    /// Weaves all 58 strings again, stops all blinking and shows the web.
    void reset();
    /// Stops drawing the web.
    void hide();
    bool isVisible() const { return visible; }

    /// 0 ≤ x < 8 and 0 ≤ y < 6, on the unrounded values.
    bool isInBounds(bw::Vector c) const;
    /// Rounded x is 0 or 7, or rounded y is 0 or 5 (corners included).
    bool isEdge(bw::Vector c) const;
    /// 0 < x < 7 and 0 < y < 5, on the unrounded values: the intersections with four strings
    /// when woven, where the spiders turn, stop and fall.
    static bool isInterior(bw::Vector c);
    /// |a.x − b.x| = 1 or |a.y − b.y| = 1, compared exactly.
    bool isAdjacent(bw::Vector a, bw::Vector b) const;
    /// The intact string bits at c (rounded); c must lie inside the web.
    std::uint32_t getConnections(bw::Vector c) const;
    /// The blinking string bits at c (rounded); c must lie inside the web.
    std::uint32_t getFlashing(bw::Vector c) const;
    /// Sum of the unit offsets of the bits set in mask, (0, 0) for none.
    static bw::Vector directionToOffset(std::uint32_t mask);
    /// UP, RIGHT, DOWN, LEFT in random order: entry 3 swapped with entry rand() % 4, then
    /// entry 2 with rand() % 3, then entry 1 with rand() % 2 (three draws, in that order).
    static std::array<std::uint32_t, 4> shuffledDirections();

    int removeOnIntersection(bw::Vector c, std::uint32_t mask);
    int addOnIntersection(bw::Vector c, std::uint32_t mask);
    int flashOnIntersection(bool on, bw::Vector c, std::uint32_t mask);
    /// Cuts the string between neighbours a and b (both ends).
    int severConnection(bw::Vector a, bw::Vector b);
    /// Restores the string between neighbours a and b (both ends).
    int repairConnection(bw::Vector a, bw::Vector b);
    /// Starts (on) or stops the blinking of the string between neighbours a and b.
    int flashConnection(bool on, bw::Vector a, bw::Vector b);
    /// Restores every string on the straight line from a border intersection across the web,
    /// awarding 200 points for each string it restores.
    void repairLine(bw::Vector edge);

    /// A random intersection with at least one string (interior only without include_border);
    /// NO_POSITION when none is left.
    bw::Vector getRandomIntersection(bool include_border);
    /// A random border intersection with a string; NO_POSITION when none is left.
    bw::Vector getRandomEdgeIntersection();
    /// A random world position on a string next to a random intersection (where a fly sits);
    /// NO_POSITION when no intersection has a string.
    bw::Vector getRandomStringPosition(bool include_border);

    /// Web coordinate to world position in cells: (c.x / 7 × H, c.y / 5 × V).
    bw::Vector webToWorld(bw::Vector c) const;
    /// World position in cells to web coordinate.
    bw::Vector worldToWeb(bw::Vector p) const;

    /// Number of frames in which a visible web was drawn (drives the blinking).
    static int getBlinkCounter() { return blink_counter; }

private:
    friend class SingletonObject<Web>;
    Web();
    void weave();
    using Masks = std::array<std::array<std::uint32_t, COLUMNS>, ROWS>;
    /// The entry of masks for the intersection c names; null, after logging warning, when c
    /// names none (outside the web, or rounding past its last column or row).
    std::uint32_t* maskAt(Masks& masks, bw::Vector c, const std::string& warning);
    /// True when some intersection in the allowed range still has a string; guards the random
    /// searches, which would otherwise never end.
    bool anyStringLeft(bool include_border) const;

    bool visible = true;
    Masks intersections{};
    Masks flashing{};
    static int blink_counter;
};
