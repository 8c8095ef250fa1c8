#include "Clock.h"

#include <chrono>

namespace bw {

Clock::Clock() : previous(now()) {}

std::uint32_t Clock::now() {
    using namespace std::chrono;
    // Unsigned wrap-around keeps differences right even when the 32-bit count overflows.
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t Clock::delta() {
    const std::uint32_t reading = now();
    const std::uint32_t elapsed = reading - previous;
    previous = reading;
    return elapsed;
}

std::uint32_t Clock::split() const { return now() - previous; }

} // namespace bw
