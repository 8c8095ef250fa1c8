#include "ObjectListIterator.h"

#include "ObjectList.h"

namespace bw {

bool ObjectListIterator::isDone() const { return index == list->getCount(); }

Object* ObjectListIterator::currentObject() const {
    // An index past the end (the list shrank under the iterator) is an index error, which the
    // list reports.
    return isDone() ? nullptr : (*list)[index];
}

} // namespace bw
