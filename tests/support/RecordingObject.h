#pragma once

#include "Object.h"

#include <functional>
#include <string>
#include <vector>

/// A world object for tests: every event it receives, every draw() call and its destruction are
/// written, under its name, into one journal shared by all recording objects, so that a test can
/// check who heard what and in which order.
///
/// Journal entries: "<name> step" (likewise keyboard, mouse, out: the event type without "bw::"),
/// "<name> collision <object 1 name>><object 2 name>", "<name> draw", "<name> deleted".
class RecordingObject : public bw::Object {
public:
    /// Enters the world like any object, with a one-cell box centred on its position; name
    /// labels its journal entries.
    explicit RecordingObject(std::string name, bw::Vector position = {},
                             bw::Solidness solidness = bw::BLOCKING);
    ~RecordingObject() override { journal().push_back(name + " deleted"); }

    int eventHandler(const bw::Event* event) override;
    int draw() override {
        journal().push_back(name + " draw");
        return 0;
    }

    /// The journal shared by every recording object.
    static std::vector<std::string>& journal() {
        static std::vector<std::string> entries;
        return entries;
    }

    std::string name;
    /// Where each collision event it received said the mover was going, in order.
    std::vector<bw::Vector> collision_positions;
    /// Runs after the event has been journalled.
    std::function<void(const bw::Event*)> on_event;
};
