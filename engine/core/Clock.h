#pragma once

#include <cstdint>

namespace bw {

/// Measures elapsed time in whole milliseconds on a monotonic clock, so differences are never
/// negative, whatever the wall clock does.
class Clock {
public:
    /// Takes the first reading.
    Clock();

    /// Milliseconds since the previous reading; the current time becomes the previous reading.
    std::uint32_t delta();

    /// Milliseconds since the previous reading; nothing changes.
    std::uint32_t split() const;

    /// The current time in milliseconds (arbitrary origin, monotonic).
    static std::uint32_t now();

private:
    std::uint32_t previous;
};

} // namespace bw
