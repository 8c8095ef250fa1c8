#pragma once

#include "Object.h"
#include "Vector.h"

#include <string>

/// The vector that stands for no position or no intersection.
inline const bw::Vector NO_POSITION(-1, -1);

/// Base of the objects that travel the web's strings: it notices, step by step, which
/// intersection has just been passed.
class WebObject : public bw::Object {
public:
    /// Altitude 1, no target intersection.
    WebObject();

    /// The intersection (web coordinate) the object is moving towards; NO_POSITION at rest.
    /// The component along the motion is whole, the other one is carried over unrounded.
    bw::Vector getNextIntersection() const;
    /// The intersection passed since the last call, NO_POSITION if none; remembers the next one.
    bw::Vector crossedIntersection();
    /// Whether the object, having passed intersection c (web coordinate) on or beyond the
    /// border, is moving out of the web there: leftwards at column 0 or less, rightwards at the
    /// last column or beyond, and likewise for the rows.
    bool isHeadingOut(bw::Vector c) const;

    bw::Vector getTargetIntersection() const { return target_intersection; }
    void setTargetIntersection(bw::Vector target) { target_intersection = target; }

protected:
    /// Labels of the four sprites of an object that faces where it goes.
    struct FacingSprites {
        std::string right, left, up, down;
    };
    /// Shows the sprite for a direction (sign tests, x before y); (0, 0) keeps the current one.
    void faceDirection(bw::Vector direction, const FacingSprites& sprites);

private:
    bw::Vector target_intersection = NO_POSITION;
};
