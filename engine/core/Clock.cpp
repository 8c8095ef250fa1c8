#include "Clock.h"

namespace bw {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

Clock::Clock() : previous(steady_clock::now()) {}

std::uint32_t Clock::delta() {
    const steady_clock::time_point reading = steady_clock::now();
    const auto elapsed = static_cast<std::uint32_t>(duration_cast<milliseconds>(reading - previous).count());
    previous = reading;
    return elapsed;
}

std::uint32_t Clock::split() const {
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now() - previous).count());
}

std::chrono::microseconds Clock::splitMicroseconds() const {
    return duration_cast<std::chrono::microseconds>(steady_clock::now() - previous);
}

} // namespace bw
