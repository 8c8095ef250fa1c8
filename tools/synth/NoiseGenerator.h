#pragma once

#include <cstdint>

namespace synth {

/// White noise from a small xorshift generator with an explicit seed: the same seed gives the same
/// samples on every run and every platform, which keeps the generated files byte-identical.
class NoiseGenerator {
public:
    /// A generator started from seed (0 is replaced by a fixed non-zero value).
    explicit NoiseGenerator(std::uint32_t seed);

    /// The next noise sample, uniform in [-1, 1).
    double next();

    /// The next raw 32-bit value.
    std::uint32_t nextBits();

private:
    std::uint32_t state;
};

} // namespace synth
