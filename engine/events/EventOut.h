#pragma once

#include "Event.h"

namespace bw {

inline const std::string EVENT_TYPE_OUT = "bw::out";

/// Sent to an object that has moved and is outside the window.
class EventOut : public Event {
public:
    EventOut() { setType(EVENT_TYPE_OUT); }
};

} // namespace bw
