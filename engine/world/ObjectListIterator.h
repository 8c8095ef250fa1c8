#pragma once

namespace bw {

class Object;
class ObjectList;

/// Walks an ObjectList by index. The list must outlive the iterator. Works both in the
/// first()/isDone()/next() style and in range-for loops.
class ObjectListIterator {
public:
    explicit ObjectListIterator(const ObjectList* list, int index = 0) : list(list), index(index) {}

    void first() { index = 0; }
    void next() { ++index; }
    /// True when the index equals the list's current count. An iterator left beyond the end by
    /// a list that shrank is not done: its current object is an index error.
    bool isDone() const;
    /// The current entry; null when done, and null with the list's out-of-range warning when the
    /// index lies outside the entries.
    Object* currentObject() const;

    Object* operator*() const { return currentObject(); }
    ObjectListIterator& operator++() {
        next();
        return *this;
    }
    /// Iterators differ when they walk different lists or stand at different indices.
    bool operator==(const ObjectListIterator& other) const {
        return list == other.list && index == other.index;
    }

private:
    const ObjectList* list;
    int index;
};

} // namespace bw
