#include "WorldManager.h"

#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "LogManager.h"
#include "Object.h"

namespace bw {

WorldManager& WorldManager::getInstance() {
    static WorldManager instance;
    return instance;
}

WorldManager::~WorldManager() {
    if (!objects.isEmpty()) shutDown();
}

int WorldManager::startUp() {
    objects.clear();
    deletions.clear();
    LogManager::getInstance().writeLog(2, "Starting up WorldManager");
    setStarted(true);
    return 0;
}

void WorldManager::shutDown() {
    LogManager::getInstance().writeLog(2, "Shutting down WorldManager");
    const ObjectList snapshot = objects;
    for (Object* object : snapshot) {
        LogManager::getInstance().writeLog(2, "Shutting down: deleting " + object->getType() + " with id " +
                                                  std::to_string(object->getId()));
        delete object;
    }
    // Anything queued was just destroyed with the rest.
    deletions.clear();
    setStarted(false);
}

int WorldManager::insertObject(Object* object) { return objects.insert(object); }

bool WorldManager::removeObject(Object* object) { return objects.remove(object); }

ObjectList WorldManager::getAllObjects() const { return objects; }

ObjectList WorldManager::objectsOfType(const std::string& type) const {
    ObjectList matching;
    for (Object* object : objects)
        if (object->getType() == type) matching.insert(object);
    return matching;
}

ObjectList WorldManager::objectsInRange(Vector center, float radius) const {
    ObjectList matching;
    for (Object* object : objects)
        if (object->getPosition().distanceSquared(center) <= radius * radius) matching.insert(object);
    return matching;
}

int WorldManager::markForDelete(Object* object) {
    if (deletions.contains(object)) return 0;
    return deletions.insert(object);
}

void WorldManager::update() {
    for (Object* object : deletions) delete object;
    deletions.clear();

    // Collision and out handlers may create objects; those join the world behind this snapshot
    // and first move in the next update.
    const ObjectList movers = objects;
    for (Object* object : movers) {
        const Vector where = object->predictPosition();
        if (where == object->getPosition()) continue;
        moveObject(object, where);
    }
}

void WorldManager::draw() {
    ObjectList pass = objects;
    for (int altitude = 0; altitude <= MAX_ALTITUDE; ++altitude) {
        ObjectList higher;
        for (Object* object : pass) {
            if (object->getAltitude() == altitude) object->draw();
            else if (object->getAltitude() > altitude) higher.insert(object);
        }
        pass = higher;
    }
}

ObjectList WorldManager::getCollisions(const Object* object) const {
    ObjectList hits;
    if (object->getSolidness() == INTANGIBLE) return hits;
    const Box box = object->getWorldBox();
    // No handler runs during the scan, so the world cannot change under it: no snapshot needed.
    for (Object* other : objects) {
        if (other == object || other->getSolidness() == INTANGIBLE) continue;
        if (boxIntersectsBox(box, other->getWorldBox())) hits.insert(other);
    }
    return hits;
}

int WorldManager::moveObject(Object* object, Vector where) {
    if (object->getSolidness() != INTANGIBLE) {
        bool refused = false;
        const ObjectList hits = getCollisions(object);
        for (Object* other : hits) {
            const EventCollision collision(object, other, where);
            object->eventHandler(&collision);
            other->eventHandler(&collision);
            refused = refused || (object->getSolidness() == BLOCKING && other->getSolidness() == BLOCKING);
        }
        if (refused) return -1;
    }

    object->setPosition(where);

    if (isOutOfWindow(object, where)) {
        const EventOut event;
        object->eventHandler(&event);
    }
    return 0;
}

bool WorldManager::isOutOfWindow(const Object* object, Vector where) const {
    const DisplayManager& display = DisplayManager::getInstance();
    const float width = static_cast<float>(display.getHorizontal());
    const float height = static_cast<float>(display.getVertical());
    const float half_w = object->getBox().getHorizontal() / 2;
    const float half_h = object->getBox().getVertical() / 2;
    return where.getX() - half_w > width || where.getX() + half_w < 0 || where.getY() - half_h > height ||
           where.getY() + half_h < 0;
}

} // namespace bw
