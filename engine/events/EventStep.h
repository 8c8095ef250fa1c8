#pragma once

#include "Event.h"

namespace bw {

inline const std::string EVENT_TYPE_STEP = "bw::step";

/// Sent to every object once per loop iteration, carrying the iteration number (0 first).
class EventStep : public Event {
public:
    EventStep() { setType(EVENT_TYPE_STEP); }
    explicit EventStep(int step_count) : step_count(step_count) { setType(EVENT_TYPE_STEP); }

    void setStepCount(int count) { step_count = count; }
    int getStepCount() const { return step_count; }

private:
    int step_count = 0;
};

} // namespace bw
