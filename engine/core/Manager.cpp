#include "Manager.h"

#include "Event.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "WorldManager.h"

namespace bw {

void Manager::onEvent(const Event* event) const {
    // A snapshot: handlers may add or queue objects without disturbing this delivery.
    const ObjectList objects = WorldManager::getInstance().getAllObjects();
    LogManager::getInstance().writeLog(3, "Sending event of type \"" + event->getType() + "\" to " +
                                              std::to_string(objects.getCount()) + " objects");
    for (Object* object : objects) object->eventHandler(event);
}

} // namespace bw
