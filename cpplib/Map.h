#pragma once

#include "cpplib/Collection.h"
#include "cpplib/MapEntry.h"

namespace CppLib {

/// Keyed container. Values absent from the map read as the default value
/// (0, null, an empty SharedPtr).
template <typename K, typename V>
class Map : public Collection<MapEntry<K, V>> {
public:
    /// The value under `key`; an absent key is inserted with the default value
    /// first (callers that must not insert test contains()).
    virtual V& get(const K& key) = 0;

    /// Stores `value` under `key`, replacing an earlier value; returns the stored value.
    virtual V& put(const K& key, const V& value) = 0;

    /// Erases the entry and returns its value; an absent key returns the
    /// default value and leaves the map unchanged.
    virtual V remove(const K& key) = 0;

    virtual bool contains(const K& key) const = 0;
};

} // namespace CppLib
