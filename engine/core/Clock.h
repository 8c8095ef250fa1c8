#pragma once

#include <chrono>
#include <cstdint>

namespace bw {

/// Measures elapsed time on a monotonic clock, so differences are never negative, whatever the
/// wall clock does. Readings are kept to the clock's full precision; delta() and split() give
/// whole milliseconds, splitMicroseconds() the finer figure.
class Clock {
public:
    /// Takes the first reading.
    Clock();

    /// Milliseconds since the previous reading; the current time becomes the previous reading.
    std::uint32_t delta();

    /// Milliseconds since the previous reading; nothing changes.
    std::uint32_t split() const;

    /// Microseconds since the previous reading; nothing changes.
    std::chrono::microseconds splitMicroseconds() const;

private:
    std::chrono::steady_clock::time_point previous;
};

} // namespace bw
