#include "RecordingObject.h"

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"

RecordingObject::RecordingObject(std::string name, bw::Vector position, bw::Solidness solidness)
    : name(std::move(name)) {
    setType("RecordingObject");
    setPosition(position);
    setSolidness(solidness);
    // One cell, centred on the position.
    setBox(bw::Box(bw::Vector(-0.5f, -0.5f), 1, 1));
}

RecordingObject::~RecordingObject() { journal().push_back(name + " deleted"); }

std::vector<std::string>& RecordingObject::journal() {
    static std::vector<std::string> entries;
    return entries;
}

std::string RecordingObject::nameOf(const bw::Object* object) {
    const auto* recording = dynamic_cast<const RecordingObject*>(object);
    return recording ? recording->name : "?";
}

int RecordingObject::eventHandler(const bw::Event* event) {
    const std::string type = event->getType();
    if (type == bw::EVENT_TYPE_COLLISION) {
        const auto* collision = static_cast<const bw::EventCollision*>(event);
        journal().push_back(name + " collision " + nameOf(collision->getObject1()) + ">" +
                            nameOf(collision->getObject2()));
        collision_positions.push_back(collision->getPosition());
    } else if (type == bw::EVENT_TYPE_STEP) {
        journal().push_back(name + " step");
    } else if (type == bw::EVENT_TYPE_OUT) {
        journal().push_back(name + " out");
    } else if (type == bw::EVENT_TYPE_KEYBOARD) {
        journal().push_back(name + " keyboard");
    } else if (type == bw::EVENT_TYPE_MOUSE) {
        journal().push_back(name + " mouse");
    } else {
        journal().push_back(name + " " + type);
    }
    if (on_event) on_event(event);
    return 1;
}

int RecordingObject::draw() {
    journal().push_back(name + " draw");
    if (on_draw) on_draw();
    return 0;
}
