#pragma once

#include "cpplib/OrderedMap.h"

namespace CppLib {

/// OrderedMap that hands out the ids it is keyed by: 101, 102, … for the life
/// of the map. Ids are never reused. The owner calls createId(), then
/// put(id, value); the id becomes the object's handle.
template <typename V, typename Id>
class IdMap : public OrderedMap<Id, V> {
public:
    Id createId() { return ++mLastId; }

    /// Accepts an id that is no longer used; ids are never handed out again.
    void returnId(Id) {}

    Id getStartId() const { return mStartId; }
    Id getLastId() const { return mLastId; }

private:
    Id mStartId = 100;
    Id mLastId = 100;
};

} // namespace CppLib
