#include "ObjectListIterator.h"

#include "ObjectList.h"

namespace bw {

bool ObjectListIterator::isDone() const { return index >= list->getCount(); }

Object* ObjectListIterator::currentObject() const {
    return isDone() ? nullptr : (*list)[index];
}

} // namespace bw
