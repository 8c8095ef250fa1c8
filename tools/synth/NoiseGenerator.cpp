#include "NoiseGenerator.h"

namespace synth {

NoiseGenerator::NoiseGenerator(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}

std::uint32_t NoiseGenerator::nextBits() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double NoiseGenerator::next() {
    // The top 24 bits give an evenly spread fraction without rounding surprises.
    const double fraction = static_cast<double>(nextBits() >> 8) / 16777216.0;
    return 2.0 * fraction - 1.0;
}

} // namespace synth
