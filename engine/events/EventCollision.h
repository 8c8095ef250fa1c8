#pragma once

#include "Event.h"
#include "Vector.h"

namespace bw {

class Object;

inline const std::string EVENT_TYPE_COLLISION = "bw::collision";

/// Sent by the world manager to a moving object and the object it collides with.
class EventCollision : public Event {
public:
    EventCollision() { setType(EVENT_TYPE_COLLISION); }
    /// object1 is the one moving, object2 the one hit, position where object1 is moving to.
    EventCollision(Object* object1, Object* object2, Vector position)
        : position(position), object1(object1), object2(object2) {
        setType(EVENT_TYPE_COLLISION);
    }

    Object* getObject1() const { return object1; }
    void setObject1(Object* object) { object1 = object; }
    Object* getObject2() const { return object2; }
    void setObject2(Object* object) { object2 = object; }
    Vector getPosition() const { return position; }
    void setPosition(Vector new_position) { position = new_position; }

private:
    Vector position;
    Object* object1 = nullptr;
    Object* object2 = nullptr;
};

} // namespace bw
