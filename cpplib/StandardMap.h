#pragma once

#include "cpplib/Map.h"

namespace CppLib {

/// Map over a standard associative container `Std` (tree or hash map).
/// Iteration yields std::pair<const K, V> in the container's own order.
template <typename K, typename V, typename Std>
class StandardMap : public Map<K, V> {
public:
    using iterator = typename Std::iterator;
    using const_iterator = typename Std::const_iterator;

    unsigned int getSize() const override { return static_cast<unsigned int>(mEntries.size()); }

    V& get(const K& key) override { return mEntries[key]; }

    V& put(const K& key, const V& value) override { return mEntries[key] = value; }

    V remove(const K& key) override
    {
        auto found = mEntries.find(key);
        if (found == mEntries.end()) {
            return V();
        }
        V value = found->second;
        mEntries.erase(found);
        return value;
    }

    bool contains(const K& key) const override { return mEntries.find(key) != mEntries.end(); }

    /// The value under `key`, or null when absent; never inserts.
    V* find(const K& key)
    {
        auto found = mEntries.find(key);
        return found == mEntries.end() ? nullptr : &found->second;
    }
    const V* find(const K& key) const
    {
        auto found = mEntries.find(key);
        return found == mEntries.end() ? nullptr : &found->second;
    }

    void clear() { mEntries.clear(); }

    iterator begin() { return mEntries.begin(); }
    iterator end() { return mEntries.end(); }
    const_iterator begin() const { return mEntries.begin(); }
    const_iterator end() const { return mEntries.end(); }

private:
    Std mEntries;
};

} // namespace CppLib
