#include "Box.h"

namespace bw {

namespace {
// Closed ranges [a_start, a_start + a_size] and [b_start, b_start + b_size] overlap.
bool rangesOverlap(float a_start, float a_size, float b_start, float b_size) {
    return (b_start >= a_start && a_start + a_size >= b_start) ||
           (a_start >= b_start && b_start + b_size >= a_start);
}
} // namespace

bool boxIntersectsBox(const Box& a, const Box& b) {
    return rangesOverlap(a.getCorner().getX(), a.getHorizontal(), b.getCorner().getX(), b.getHorizontal()) &&
           rangesOverlap(a.getCorner().getY(), a.getVertical(), b.getCorner().getY(), b.getVertical());
}

} // namespace bw
