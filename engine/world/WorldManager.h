#pragma once

#include "Manager.h"
#include "ObjectList.h"
#include "Vector.h"

#include <string>

namespace bw {

class Object;

/// Holds every game object; each iteration deletes the objects queued for deletion, moves the
/// rest by their velocities with collision and out-of-window events, and draws them back to
/// front by altitude.
class WorldManager : public Manager {
public:
    static WorldManager& getInstance();
    /// Destroys what is left in the world.
    ~WorldManager() override;

    /// Empties both lists (earlier objects are forgotten, not destroyed). Always 0.
    int startUp() override;
    /// Destroys every object, in list order, with a log line each.
    void shutDown() override;

    /// Appends to the world; -1 when full. Called by Object's constructor.
    int insertObject(Object* object);
    /// Takes the first occurrence out of the world; false when absent. Called by Object's
    /// destructor. The deletion queue is left as it is: a queued object is still destroyed by the
    /// next update, so objects leave play only through markForDelete.
    bool removeObject(Object* object);

    /// A snapshot of the world.
    ObjectList getAllObjects() const;
    /// The objects whose type equals type exactly, in list order.
    ObjectList objectsOfType(const std::string& type) const;
    /// The objects whose position lies within radius of center (inclusive), in list order.
    ObjectList objectsInRange(Vector center, float radius) const;

    /// Queues the object for destruction at the start of the next update. Queuing twice is
    /// harmless (0); -1 when the queue is full.
    int markForDelete(Object* object);

    /// Deletion pass, then movement pass.
    void update();
    /// Draws every object, altitude 0 first; equal altitudes in list order.
    void draw();

    /// Moves object to where: collision events with everything it overlaps (at its old
    /// position), refused (-1) when both are BLOCKING; then an out event if it is outside the
    /// window. 0 when moved.
    int moveObject(Object* object, Vector where);
    /// The non-INTANGIBLE objects whose world boxes overlap object's; empty for INTANGIBLE.
    ObjectList getCollisions(const Object* object) const;
    /// Whether object, placed at where, lies wholly outside the window: its box, centred on
    /// where, beyond an edge (strict comparisons; the box corner is not used). The rule behind
    /// out events, for objects that move themselves.
    bool isOutOfWindow(const Object* object, Vector where) const;

private:
    WorldManager() = default;

    ObjectList objects;
    ObjectList deletions;
};

} // namespace bw
