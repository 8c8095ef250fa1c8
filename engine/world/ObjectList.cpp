#include "ObjectList.h"

#include "LogManager.h"

#include <algorithm>

namespace bw {

// Copies only the entries in use: a snapshot costs the live part of the list, not its capacity.
ObjectList::ObjectList(const ObjectList& other) : count(other.count) {
    std::copy_n(other.items.begin(), count, items.begin());
}

ObjectList& ObjectList::operator=(const ObjectList& other) {
    if (this != &other) {
        std::fill(items.begin() + other.count, items.begin() + std::max(count, other.count), nullptr);
        count = other.count;
        std::copy_n(other.items.begin(), count, items.begin());
    }
    return *this;
}

int ObjectList::insert(Object* object) {
    if (isFull()) return -1;
    items[count++] = object;
    return 0;
}

bool ObjectList::remove(Object* object) {
    const auto end = items.begin() + count;
    const auto found = std::find(items.begin(), end, object);
    if (found == end) return false;
    std::copy(found + 1, end, found);
    items[--count] = nullptr;
    return true;
}

void ObjectList::clear() {
    std::fill(items.begin(), items.begin() + count, nullptr);
    count = 0;
}

bool ObjectList::contains(Object* object) const {
    const auto end = items.begin() + count;
    return std::find(items.begin(), end, object) != end;
}

Object* ObjectList::operator[](int index) const {
    if (index < 0 || index >= count) {
        LogManager::getInstance().writeLog(1, "WARNING: ObjectList[index] out of range");
        return nullptr;
    }
    return items[index];
}

} // namespace bw
