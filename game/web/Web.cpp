#include "Web.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "ScoreCounter.h"
#include "WebObject.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

int Web::blink_counter = 0;

namespace {

// Web coordinates are looked up at their nearest whole intersection, halves away from zero.
int nearest(float value) { return static_cast<int>(std::round(value)); }

bool insideGrid(int column, int row) {
    return column >= 0 && column < Web::COLUMNS && row >= 0 && row < Web::ROWS;
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
            const bool left_or_right = column == 0 || column == COLUMNS - 1;
            const bool top_or_bottom = row == 0 || row == ROWS - 1;
            std::uint32_t mask = UP | RIGHT | DOWN | LEFT;
            if (left_or_right && top_or_bottom) mask = 0; // corners never take part
            else if (row == 0) mask = DOWN;
            else if (row == ROWS - 1) mask = UP;
            else if (column == 0) mask = RIGHT;
            else if (column == COLUMNS - 1) mask = LEFT;
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
    const float dx = display.getHorizontal() / 7.0f * 0.3f;
    const float dy = display.getVertical() / 5.0f * 0.3f;
    const bool blink_red = (blink_counter / 6) % 2 == 0;

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
    return column == 0 || column == COLUMNS - 1 || row == 0 || row == ROWS - 1;
}

bool Web::isAdjacent(bw::Vector a, bw::Vector b) const {
    return std::fabs(a.getX() - b.getX()) == 1 || std::fabs(a.getY() - b.getY()) == 1;
}

std::uint32_t Web::getConnections(bw::Vector c) const {
    const int column = nearest(c.getX());
    const int row = nearest(c.getY());
    // Callers pass coordinates inside the web; anything else has no strings rather than
    // reading outside the grid.
    return insideGrid(column, row) ? intersections[row][column] : 0;
}

std::uint32_t Web::getFlashing(bw::Vector c) const {
    const int column = nearest(c.getX());
    const int row = nearest(c.getY());
    return insideGrid(column, row) ? flashing[row][column] : 0;
}

bw::Vector Web::directionToOffset(std::uint32_t mask) {
    bw::Vector offset;
    if (mask & UP) offset += bw::Vector(0, -1);
    if (mask & RIGHT) offset += bw::Vector(1, 0);
    if (mask & DOWN) offset += bw::Vector(0, 1);
    if (mask & LEFT) offset += bw::Vector(-1, 0);
    return offset;
}

int Web::removeOnIntersection(bw::Vector c, std::uint32_t mask) {
    // In bounds but rounding past the last column or row (x ≥ 7.5, y ≥ 5.5) names no
    // intersection either; the same holds for adding and flashing.
    if (!isInBounds(c) || !insideGrid(nearest(c.getX()), nearest(c.getY()))) {
        warn("WARNING: attempted to remove on intersection out of bounds");
        return -1;
    }
    std::uint32_t& bits = intersections[nearest(c.getY())][nearest(c.getX())];
    if ((bits & mask) == 0) return 0;
    bits &= ~mask;
    return 1;
}

int Web::addOnIntersection(bw::Vector c, std::uint32_t mask) {
    if (!isInBounds(c) || !insideGrid(nearest(c.getX()), nearest(c.getY()))) {
        warn("WARNING: attempted to add on intersection out of bounds");
        return -1;
    }
    std::uint32_t& bits = intersections[nearest(c.getY())][nearest(c.getX())];
    if ((bits & mask) == mask) return 0;
    bits |= mask;
    return 1;
}

int Web::flashOnIntersection(bool on, bw::Vector c, std::uint32_t mask) {
    if (!isInBounds(c) || !insideGrid(nearest(c.getX()), nearest(c.getY()))) {
        warn("WARNING: attempted to flash on intersection out of bounds");
        return -1;
    }
    std::uint32_t& bits = flashing[nearest(c.getY())][nearest(c.getX())];
    if (on) {
        if ((bits & mask) == mask) return 0;
        bits |= mask;
    } else {
        if ((bits & mask) == 0) return 0;
        bits &= ~mask;
    }
    return 1;
}

int Web::severConnection(bw::Vector a, bw::Vector b) {
    if (!isAdjacent(a, b)) {
        warn("WARNING: attempted to sever connection between two non-adjacent web coordinates");
        return -1;
    }
    const EndBits bits = pairBits(a, b);
    return removeOnIntersection(a, bits.a) + removeOnIntersection(b, bits.b) > 0 ? 1 : 0;
}

int Web::repairConnection(bw::Vector a, bw::Vector b) {
    if (!isAdjacent(a, b)) {
        warn("WARNING: attempted to repair connection between two non-adjacent web coordinates");
        return -1;
    }
    const EndBits bits = pairBits(a, b);
    return addOnIntersection(a, bits.a) + addOnIntersection(b, bits.b) > 0 ? 1 : 0;
}

int Web::flashConnection(bool on, bw::Vector a, bw::Vector b) {
    if (!isAdjacent(a, b)) {
        warn("WARNING: attempted to start flashing a connection between two non-adjacent web coordinates");
        return -1;
    }
    const EndBits bits = pairBits(a, b);
    return flashOnIntersection(on, a, bits.a) + flashOnIntersection(on, b, bits.b) > 0 ? 1 : 0;
}

void Web::repairLine(bw::Vector edge) {
    if (!isEdge(edge)) {
        warn("WARNING: repairLine provided non-edge, ignored");
        return;
    }
    bw::Vector step(-1, 0);
    if (edge.getX() == 0) step = bw::Vector(1, 0);
    else if (edge.getX() != COLUMNS - 1) step = edge.getY() == 0 ? bw::Vector(0, 1) : bw::Vector(0, -1);

    bw::Vector prev = edge;
    bw::Vector cur = edge + step;
    while (isInBounds(cur)) {
        if (isAdjacent(prev, cur)) {
            const EndBits bits = pairBits(prev, cur);
            if (addOnIntersection(prev, bits.a) + addOnIntersection(cur, bits.b) > 0) {
                bw::Vector middle = cur - prev;
                middle.scale(0.5f);
                ScoreCounter::getInstance().addPoints(200, webToWorld(prev + middle), bw::Color(255, 255, 255, 1.0f),
                                                      false);
            }
        } else {
            warn("WARNING: attempted to repair connection between two non-adjacent web coordinates");
        }
        prev = cur;
        cur = cur + step;
    }
}

bool Web::anyStringLeft(bool include_border) const {
    for (int row = include_border ? 0 : 1; row < (include_border ? ROWS : ROWS - 1); ++row)
        for (int column = include_border ? 0 : 1; column < (include_border ? COLUMNS : COLUMNS - 1); ++column)
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
            row = std::rand() % 4 + 1;
            column = std::rand() % 6 + 1;
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
        if (std::rand() & 1) {
            column = (std::rand() & 1) * 7;
            row = std::rand() % 6;
        } else {
            column = std::rand() & 7;
            row = (std::rand() & 1) * 5;
        }
        if (intersections[row][column] != 0) return bw::Vector(column, row);
    }
}

bw::Vector Web::getRandomStringPosition(bool include_border) {
    const bw::Vector c = getRandomIntersection(include_border);
    if (c == NO_POSITION) return NO_POSITION;
    const std::uint32_t mask = getConnections(c);

    std::uint32_t order[5] = {UP, RIGHT, DOWN, LEFT, 0};
    std::swap(order[3], order[std::rand() % 4]);
    std::swap(order[2], order[std::rand() % 3]);
    std::swap(order[1], order[std::rand() % 2]);

    // The first string, in random order, that leads to an interior intersection; 0 when none does.
    std::uint32_t chosen = 0;
    for (const std::uint32_t d : order) {
        if ((d & mask) != d) continue;
        const bw::Vector n = c + directionToOffset(d);
        const int column = nearest(n.getX());
        const int row = nearest(n.getY());
        if (column != 0 && column != COLUMNS - 1 && row != 0 && row != ROWS - 1) {
            chosen = d;
            break;
        }
    }

    const float fraction = static_cast<float>((std::rand() % 1000) / 1000.0);
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const bool horizontal = chosen == RIGHT || chosen == LEFT;
    const float reach = horizontal ? display.getHorizontal() * fraction * 0.125f
                                   : display.getVertical() * fraction / 6;
    bw::Vector offset = directionToOffset(chosen);
    offset.scale(reach);
    return webToWorld(c) + offset;
}

bw::Vector Web::webToWorld(bw::Vector c) const {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    return bw::Vector(c.getX() / 7 * display.getHorizontal(), c.getY() / 5 * display.getVertical());
}

bw::Vector Web::worldToWeb(bw::Vector p) const {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    return bw::Vector(p.getX() / display.getHorizontal() * 7, p.getY() / display.getVertical() * 5);
}
