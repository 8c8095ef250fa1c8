#pragma once

#include "ObjectListIterator.h"

#include <array>

namespace bw {

class Object;

/// Capacity of every object list, the world included.
constexpr int MAX_OBJECTS = 5000;

/// An ordered list of at most MAX_OBJECTS object pointers, stored inline. Copying gives an
/// independent snapshot. The list never owns or deletes what it points to.
class ObjectList {
public:
    ObjectList() = default;
    ObjectList(const ObjectList& other);
    ObjectList& operator=(const ObjectList& other);

    /// Appends; -1 when full (nothing changes), else 0.
    int insert(Object* object);
    /// Removes the first occurrence, keeping the others in order; false when absent.
    bool remove(Object* object);
    /// Empties the list.
    void clear();

    int getCount() const { return count; }
    bool isEmpty() const { return count == 0; }
    bool isFull() const { return count >= MAX_OBJECTS; }
    bool contains(Object* object) const;

    /// The entry at index; out of range logs a warning and gives null.
    Object* operator[](int index) const;

    ObjectListIterator begin() const { return ObjectListIterator(this); }
    ObjectListIterator end() const { return ObjectListIterator(this, count); }

private:
    int count = 0;
    std::array<Object*, MAX_OBJECTS> items{};
};

} // namespace bw
