#pragma once

#include <string>

namespace bw {

inline const std::string EVENT_TYPE_UNDEFINED = "bw::undefined";

/// Something that happens to an object. Built on the sender's stack and passed by pointer;
/// receivers tell events apart by getType() and never keep the pointer.
class Event {
public:
    Event() = default;
    virtual ~Event() = default;

    void setType(std::string new_type) { type = std::move(new_type); }
    std::string getType() const { return type; }

private:
    std::string type = EVENT_TYPE_UNDEFINED;
};

} // namespace bw
