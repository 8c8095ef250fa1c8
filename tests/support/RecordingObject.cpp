#include "RecordingObject.h"

#include "EventCollision.h"

RecordingObject::RecordingObject(std::string name, bw::Vector position, bw::Solidness solidness)
    : name(std::move(name)) {
    setType("RecordingObject");
    setPosition(position);
    setSolidness(solidness);
    setBox(bw::Box(bw::Vector(-0.5f, -0.5f), 1, 1));
}

int RecordingObject::eventHandler(const bw::Event* event) {
    std::string entry = name + " ";
    entry.append(event->getType().substr(event->getType().rfind(':') + 1)); // "bw::step" gives "step"
    if (const auto* collision = dynamic_cast<const bw::EventCollision*>(event)) {
        const auto nameOf = [](const bw::Object* object) {
            const auto* recording = dynamic_cast<const RecordingObject*>(object);
            return recording ? recording->name : "?";
        };
        entry.append(" ").append(nameOf(collision->getObject1())).append(">").append(nameOf(collision->getObject2()));
        collision_positions.push_back(collision->getPosition());
    }
    journal().push_back(entry);
    if (on_event) on_event(event);
    return 1;
}
