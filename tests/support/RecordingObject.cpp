#include "RecordingObject.h"

#include "EventCollision.h"

RecordingObject::RecordingObject(std::string name, bw::Vector position, bw::Solidness solidness)
    : name(std::move(name)) {
    setType("RecordingObject");
    setPosition(position);
    setSolidness(solidness);
    setBox(bw::Box(bw::Vector(-0.5f, -0.5f), 1, 1));
}

RecordingObject::~RecordingObject() { journal().push_back(name + " deleted"); }

std::vector<std::string>& RecordingObject::journal() {
    static std::vector<std::string> entries;
    return entries;
}

int RecordingObject::eventHandler(const bw::Event* event) {
    std::string entry = event->getType();
    if (entry.rfind("bw::", 0) == 0) entry.erase(0, 4);
    if (event->getType() == bw::EVENT_TYPE_COLLISION) {
        const auto nameOf = [](const bw::Object* object) {
            const auto* recording = dynamic_cast<const RecordingObject*>(object);
            return recording ? recording->name : "?";
        };
        const auto* collision = static_cast<const bw::EventCollision*>(event);
        entry.append(" ").append(nameOf(collision->getObject1())).append(">").append(nameOf(collision->getObject2()));
        collision_positions.push_back(collision->getPosition());
    }
    journal().push_back(name + " " + entry);
    if (on_event) on_event(event);
    return 1;
}

int RecordingObject::draw() {
    journal().push_back(name + " draw");
    return 0;
}
