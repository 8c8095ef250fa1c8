#pragma once

#include "Vector.h"

namespace bw {

/// An axis-aligned rectangle in cells: upper-left corner, width and height. In an object's box
/// the corner is relative to the object's position; in a world box it is absolute.
class Box {
public:
    Box() = default;
    Box(Vector corner, float horizontal, float vertical)
        : corner(corner), horizontal(horizontal), vertical(vertical) {}

    Vector getCorner() const { return corner; }
    void setCorner(Vector new_corner) { corner = new_corner; }
    float getHorizontal() const { return horizontal; }
    void setHorizontal(float new_horizontal) { horizontal = new_horizontal; }
    float getVertical() const { return vertical; }
    void setVertical(float new_vertical) { vertical = new_vertical; }

private:
    Vector corner;
    float horizontal = 0;
    float vertical = 0;
};

/// True when the boxes overlap. Edges are inclusive: boxes that only touch intersect.
bool boxIntersectsBox(const Box& a, const Box& b);

} // namespace bw
