#pragma once

#include "cpplib/LinkedMap.h"
#include "cpplib/Vector.h"

namespace CppLib {

/// Map that remembers insertion order and is addressable by position
/// (0-based, in insertion order). Lookup by key is logarithmic, the key at a
/// position constant, remove(key) linear.
///
/// Every key in the map is in the order list exactly once, whichever
/// operation put it there (get() of an absent key included), so the size,
/// the contents and the order always agree. Positions outside 0 … size−1
/// read as default keys and values and remove nothing.
template <typename K, typename V>
class OrderedMap : public Map<K, V> {
public:
    unsigned int getSize() const override { return mOrder.getSize(); }

    V& get(const K& key) override
    {
        if (!mEntries.contains(key)) {
            mOrder.append(key);
        }
        return mEntries.get(key);
    }

    V& put(const K& key, const V& value) override
    {
        if (!mEntries.contains(key)) {
            mOrder.append(key);
        }
        return mEntries.put(key, value);
    }

    V remove(const K& key) override
    {
        if (!mEntries.contains(key)) {
            return V();
        }
        mOrder.removeAt(mOrder.indexOf(key));
        return mEntries.remove(key);
    }

    bool contains(const K& key) const override { return mEntries.contains(key); }

    /// Removes the entry at `pos` and returns its value.
    V removeAt(int pos)
    {
        if (!inRange(pos)) {
            return V();
        }
        const K key = mOrder[pos];
        mOrder.removeAt(pos);
        return mEntries.remove(key);
    }

    K getKey(int pos) const { return inRange(pos) ? mOrder[pos] : K(); }

    V& getValue(int pos)
    {
        if (!inRange(pos)) {
            static V scratch;
            scratch = V();
            return scratch;
        }
        return *mEntries.find(mOrder[pos]);
    }

    /// The value under `key`, or null when absent; never inserts.
    V* find(const K& key) { return mEntries.find(key); }
    const V* find(const K& key) const { return mEntries.find(key); }

    /// Position of `key` in the order, or −1.
    int getPosition(const K& key) const { return mOrder.indexOf(key); }

    void clear()
    {
        mEntries.clear();
        mOrder.clear();
    }

private:
    bool inRange(int pos) const { return pos >= 0 && static_cast<unsigned int>(pos) < mOrder.getSize(); }

    LinkedMap<K, V> mEntries;
    Vector<K> mOrder;
};

} // namespace CppLib
