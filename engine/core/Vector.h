#pragma once

#include <string>

namespace bw {

/// A 2-D position, direction or velocity in cells (x to the right, y downwards).
class Vector {
public:
    Vector() = default;
    Vector(float x, float y) : x(x), y(y) {}

    float getX() const { return x; }
    void setX(float new_x) { x = new_x; }
    float getY() const { return y; }
    void setY(float new_y) { y = new_y; }
    void setXY(float new_x, float new_y) { x = new_x; y = new_y; }

    /// Length, the square root of x² + y².
    float getMagnitude() const;
    /// Divides both components by the length; a zero vector stays as it is.
    void normalize();
    /// Multiplies both components by s.
    void scale(float s);
    /// Euclidean distance to other.
    float distance(const Vector& other) const;
    /// Squared distance to other, without the root.
    float distanceSquared(const Vector& other) const;

    Vector operator+(const Vector& other) const { return {x + other.x, y + other.y}; }
    Vector operator-(const Vector& other) const { return {x - other.x, y - other.y}; }
    Vector& operator+=(const Vector& other);
    Vector& operator-=(const Vector& other);
    /// Exact equality of both components.
    bool operator==(const Vector& other) const { return x == other.x && y == other.y; }

    /// "(x, y)" with six decimals each: (1.500000, 2.000000).
    std::string toString() const;

private:
    float x = 0;
    float y = 0;
};

} // namespace bw
