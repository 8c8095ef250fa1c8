#include "Vector.h"

#include <cmath>
#include <cstdio>

namespace bw {

float Vector::getMagnitude() const { return std::sqrt(x * x + y * y); }

void Vector::normalize() {
    const float length = getMagnitude();
    if (length > 0) {
        x /= length;
        y /= length;
    }
}

void Vector::scale(float s) {
    x *= s;
    y *= s;
}

float Vector::distance(const Vector& other) const { return std::sqrt(distanceSquared(other)); }

float Vector::distanceSquared(const Vector& other) const {
    const float dx = x - other.x;
    const float dy = y - other.y;
    return dx * dx + dy * dy;
}

Vector& Vector::operator+=(const Vector& other) {
    x += other.x;
    y += other.y;
    return *this;
}

Vector& Vector::operator-=(const Vector& other) {
    x -= other.x;
    y -= other.y;
    return *this;
}

std::string Vector::toString() const {
    char text[96];
    std::snprintf(text, sizeof text, "(%f, %f)", static_cast<double>(x), static_cast<double>(y));
    return text;
}

} // namespace bw
