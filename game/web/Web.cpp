#include "Web.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "ScoreCounter.h"
#include "WebObject.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <utility>

int Web::blink_counter = 0;

namespace {

// Web coordinates are looked up at their nearest whole intersection, halves away from zero.
int nearest(float value) { return static_cast<int>(std::round(value)); }

bool insideGrid(int column, int row) {
    return column >= 0 && column < Web::COLUMNS && row >= 0 && row < Web::ROWS;
}

// The bits of masks at c's nearest intersection. Callers pass coordinates inside the web;
// anything else has no bits rather than reading outside the grid.
template <typename Masks>
std::uint32_t bitsNear(const Masks& masks, bw::Vector c) {
    const int column = nearest(c.getX());
    const int row = nearest(c.getY());
    return insideGrid(column, row) ? masks[row][column] : 0;
}

struct EndBits {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
};

// Which string bit each end of the pair a–b needs.
EndBits pairBits(bw::Vector a, bw::Vector b) {
    if (a.getX() > b.getX()) return {LEFT, RIGHT};
    if (b.getX() > a.getX()) return {RIGHT, LEFT};
    if (b.getY() > a.getY()) return {DOWN, UP};
    if (a.getY() > b.getY()) return {UP, DOWN};
    return {};
}

void warn(const std::string& message) { bw::LogManager::getInstance().writeLog(1, message); }

// The pair operations: each end of the string a–b gets the bit that points at the other one,
// a first. 1 when either end changed; -1 with warning when a and b are not neighbours.
template <typename ChangeEnd>
int changePair(const Web& web, bw::Vector a, bw::Vector b, const std::string& warning,
               ChangeEnd change_end) {
    if (!web.isAdjacent(a, b)) {
        warn(warning);
        return -1;
    }
    const EndBits bits = pairBits(a, b);
    const int changed_a = change_end(a, bits.a);
    const int changed_b = change_end(b, bits.b);
    return changed_a + changed_b > 0 ? 1 : 0;
}

// Frames a blinking string stays red, then grey.
constexpr int BLINK_FRAMES = 6;

const bw::Color JUNCTION_COLOR(255, 255, 255, 1.0f);
const bw::Color STRING_COLOR(155, 155, 155, 1.0f);
const bw::Color BLINK_COLOR(242, 67, 54, 1.0f);

} // namespace

Web::Web() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    setType("Web");
    setSolidness(bw::INTANGIBLE);
    setAltitude(1);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    setPosition(bw::Vector(display.getHorizontal() * 0.5f, display.getVertical() * 0.5f));
    weave();
    visible = true;
}

void Web::weave() {
    for (int row = 0; row < ROWS; ++row) {
        for (int column = 0; column < COLUMNS; ++column) {
            const bool left_or_right = column == 0 || column == LAST_COLUMN;
            const bool top_or_bottom = row == 0 || row == LAST_ROW;
            std::uint32_t mask = UP | RIGHT | DOWN | LEFT;
            if (left_or_right && top_or_bottom) mask = 0; // corners never take part
            else if (row == 0) mask = DOWN;
            else if (row == LAST_ROW) mask = UP;
            else if (column == 0) mask = RIGHT;
            else if (column == LAST_COLUMN) mask = LEFT;
            intersections[row][column] = mask;
            flashing[row][column] = 0;
        }
    }
}

void Web::reset() {
    weave();
    visible = true;
}

void Web::hide() { visible = false; }

int Web::draw() {
    if (!visible) return 0;
    ++blink_counter;
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const bw::Vector half = display.pixelsToSpaces(bw::Vector(display.charWidth() * 0.5f, display.charHeight() * 0.5f));
    // Each string shows 30 % of the spacing away from its ends.
    const float dx = display.getHorizontal() / static_cast<float>(LAST_COLUMN) * 0.3f;
    const float dy = display.getVertical() / static_cast<float>(LAST_ROW) * 0.3f;
    const bool blink_red = (blink_counter / BLINK_FRAMES) % 2 == 0;

    for (int row = 0; row < ROWS; ++row) {
        for (int column = 0; column < COLUMNS; ++column) {
            const bw::Vector p = webToWorld(bw::Vector(column, row)) - half;
            const std::uint32_t mask = intersections[row][column];
            const std::uint32_t blinking = flashing[row][column];
            const auto stringColor = [&](std::uint32_t bit) {
                return (blinking & bit) && blink_red ? BLINK_COLOR : STRING_COLOR;
            };
            if (mask != 0) display.drawCh(p, '+', JUNCTION_COLOR);
            if (mask & UP) display.drawCh(p - bw::Vector(0, dy), '|', stringColor(UP));
            if (mask & RIGHT) display.drawCh(p + bw::Vector(dx, 0), '=', stringColor(RIGHT));
            if (mask & DOWN) display.drawCh(p + bw::Vector(0, dy), '|', stringColor(DOWN));
            if (mask & LEFT) display.drawCh(p - bw::Vector(dx, 0), '=', stringColor(LEFT));
        }
    }
    return 0;
}

bool Web::isInBounds(bw::Vector c) const {
    return c.getX() >= 0 && c.getX() < COLUMNS && c.getY() >= 0 && c.getY() < ROWS;
}

bool Web::isEdge(bw::Vector c) const {
    const int column = nearest(c.getX());
    const int row = nearest(c.getY());
    return column == 0 || column == LAST_COLUMN || row == 0 || row == LAST_ROW;
}

bool Web::isInterior(bw::Vector c) {
    return c.getX() > 0 && c.getX() < LAST_COLUMN && c.getY() > 0 && c.getY() < LAST_ROW;
}

bool Web::isAdjacent(bw::Vector a, bw::Vector b) const {
    return std::fabs(a.getX() - b.getX()) == 1 || std::fabs(a.getY() - b.getY()) == 1;
}

std::uint32_t Web::getConnections(bw::Vector c) const { return bitsNear(intersections, c); }

std::uint32_t Web::getFlashing(bw::Vector c) const { return bitsNear(flashing, c); }

bw::Vector Web::directionToOffset(std::uint32_t mask) {
    bw::Vector offset;
    if (mask & UP) offset += bw::Vector(0, -1);
    if (mask & RIGHT) offset += bw::Vector(1, 0);
    if (mask & DOWN) offset += bw::Vector(0, 1);
    if (mask & LEFT) offset += bw::Vector(-1, 0);
    return offset;
}

std::array<std::uint32_t, 4> Web::shuffledDirections() {
    std::array<std::uint32_t, 4> order = {UP, RIGHT, DOWN, LEFT};
    std::swap(order[3], order[std::rand() % 4]);
    std::swap(order[2], order[std::rand() % 3]);
    std::swap(order[1], order[std::rand() % 2]);
    return order;
}

std::uint32_t* Web::maskAt(Masks& masks, bw::Vector c, const std::string& warning) {
    if (isInBounds(c)) {
        const int column = nearest(c.getX());
        const int row = nearest(c.getY());
        // In bounds but rounding past the last column or row (x ≥ 7.5, y ≥ 5.5) names no
        // intersection either.
        if (insideGrid(column, row)) return &masks[row][column];
    }
    warn(warning);
    return nullptr;
}

int Web::removeOnIntersection(bw::Vector c, std::uint32_t mask) {
    std::uint32_t* bits =
        maskAt(intersections, c, "WARNING: attempted to remove on intersection out of bounds");
    if (!bits) return -1;
    if ((*bits & mask) == 0) return 0;
    *bits &= ~mask;
    return 1;
}

int Web::addOnIntersection(bw::Vector c, std::uint32_t mask) {
    std::uint32_t* bits = maskAt(intersections, c, "WARNING: attempted to add on intersection out of bounds");
    if (!bits) return -1;
    if ((*bits & mask) == mask) return 0;
    *bits |= mask;
    return 1;
}

int Web::flashOnIntersection(bool on, bw::Vector c, std::uint32_t mask) {
    std::uint32_t* bits = maskAt(flashing, c, "WARNING: attempted to flash on intersection out of bounds");
    if (!bits) return -1;
    if (on) {
        if ((*bits & mask) == mask) return 0;
        *bits |= mask;
    } else {
        if ((*bits & mask) == 0) return 0;
        *bits &= ~mask;
    }
    return 1;
}

int Web::severConnection(bw::Vector a, bw::Vector b) {
    return changePair(
        *this, a, b, "WARNING: attempted to sever connection between two non-adjacent web coordinates",
        [this](bw::Vector end, std::uint32_t bit) { return removeOnIntersection(end, bit); });
}

int Web::repairConnection(bw::Vector a, bw::Vector b) {
    return changePair(
        *this, a, b, "WARNING: attempted to repair connection between two non-adjacent web coordinates",
        [this](bw::Vector end, std::uint32_t bit) { return addOnIntersection(end, bit); });
}

int Web::flashConnection(bool on, bw::Vector a, bw::Vector b) {
    return changePair(
        *this, a, b,
        "WARNING: attempted to start flashing a connection between two non-adjacent web coordinates",
        [this, on](bw::Vector end, std::uint32_t bit) { return flashOnIntersection(on, end, bit); });
}

void Web::repairLine(bw::Vector edge) {
    if (!isEdge(edge)) {
        warn("WARNING: repairLine provided non-edge, ignored");
        return;
    }
    bw::Vector step(-1, 0);
    if (edge.getX() == 0) step = bw::Vector(1, 0);
    else if (edge.getX() != LAST_COLUMN) step = edge.getY() == 0 ? bw::Vector(0, 1) : bw::Vector(0, -1);

    bw::Vector prev = edge;
    bw::Vector cur = edge + step;
    while (isInBounds(cur)) {
        if (repairConnection(prev, cur) == 1) {
            bw::Vector middle = cur - prev;
            middle.scale(0.5f);
            ScoreCounter::getInstance().addPoints(200, webToWorld(prev + middle),
                                                  bw::Color(255, 255, 255, 1.0f), false);
        }
        prev = cur;
        cur = cur + step;
    }
}

bool Web::anyStringLeft(bool include_border) const {
    for (int row = include_border ? 0 : 1; row < (include_border ? ROWS : LAST_ROW); ++row)
        for (int column = include_border ? 0 : 1; column < (include_border ? COLUMNS : LAST_COLUMN); ++column)
            if (intersections[row][column] != 0) return true;
    return false;
}

bw::Vector Web::getRandomIntersection(bool include_border) {
    if (!anyStringLeft(include_border)) return NO_POSITION;
    while (true) {
        int row, column;
        if (include_border) {
            row = std::rand() % ROWS;
            column = std::rand() % COLUMNS;
        } else {
            row = std::rand() % INTERIOR_ROWS + 1;
            column = std::rand() % INTERIOR_COLUMNS + 1;
        }
        if (intersections[row][column] != 0) return bw::Vector(column, row);
    }
}

bw::Vector Web::getRandomEdgeIntersection() {
    bool any = false;
    for (int row = 0; row < ROWS; ++row)
        for (int column = 0; column < COLUMNS; ++column)
            any = any || (isEdge(bw::Vector(column, row)) && intersections[row][column] != 0);
    if (!any) return NO_POSITION;
    while (true) {
        int row, column;
        if (std::rand() & 1) { // the left or right border
            column = (std::rand() & 1) * LAST_COLUMN;
            row = std::rand() % ROWS;
        } else { // the top or bottom border
            column = std::rand() % COLUMNS;
            row = (std::rand() & 1) * LAST_ROW;
        }
        if (intersections[row][column] != 0) return bw::Vector(column, row);
    }
}

bw::Vector Web::getRandomStringPosition(bool include_border) {
    const bw::Vector c = getRandomIntersection(include_border);
    if (c == NO_POSITION) return NO_POSITION;
    const std::uint32_t mask = getConnections(c);

    // The first string, in random order, that leads to an interior intersection; 0 (c itself)
    // when none does.
    std::uint32_t chosen = 0;
    for (const std::uint32_t d : shuffledDirections()) {
        if ((d & mask) == d && !isEdge(c + directionToOffset(d))) {
            chosen = d;
            break;
        }
    }

    const float fraction = static_cast<float>((std::rand() % 1000) / 1000.0);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const bool horizontal = chosen == RIGHT || chosen == LEFT;
    // A fraction of the window over the number of columns (rows): short of the string's far end.
    const float reach = horizontal ? display.getHorizontal() * fraction / COLUMNS
                                   : display.getVertical() * fraction / ROWS;
    bw::Vector offset = directionToOffset(chosen);
    offset.scale(reach);
    return webToWorld(c) + offset;
}

bw::Vector Web::webToWorld(bw::Vector c) const {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    return bw::Vector(c.getX() / LAST_COLUMN * display.getHorizontal(),
                      c.getY() / LAST_ROW * display.getVertical());
}

bw::Vector Web::worldToWeb(bw::Vector p) const {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    return bw::Vector(p.getX() / display.getHorizontal() * LAST_COLUMN,
                      p.getY() / display.getVertical() * LAST_ROW);
}
