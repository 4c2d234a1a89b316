#pragma once

#include "cpplib/List.h"

#include <initializer_list>
#include <vector>

namespace CppLib {

/// Array implementation of List.
///
/// An index outside 0 … size−1 is a caller's mistake with a defined result:
/// reads give a value-initialised element (a scratch copy, so writing to it
/// changes nothing in the vector), set() returns one and changes nothing,
/// removeAt() does nothing.
template <typename T>
class Vector final : public List<T> {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    Vector() = default;
    Vector(std::initializer_list<T> items) : mItems(items) {}

    const T& get(int index) const override { return inRange(index) ? mItems[index] : outOfRange(); }
    T& operator[](int index) override { return inRange(index) ? mItems[index] : outOfRange(); }
    const T& operator[](int index) const override { return get(index); }

    T set(int index, const T& value) override
    {
        if (!inRange(index)) {
            return T();
        }
        T previous = mItems[index];
        mItems[index] = value;
        return previous;
    }

    int append(const T& value) override
    {
        mItems.push_back(value);
        return static_cast<int>(mItems.size()) - 1;
    }

    void removeAt(int index) override
    {
        if (inRange(index)) {
            mItems.erase(mItems.begin() + index);
        }
    }

    unsigned int getSize() const { return static_cast<unsigned int>(mItems.size()); }
    bool isEmpty() const { return mItems.empty(); }

    /// Position of the first element equal to `value`, or −1.
    int indexOf(const T& value) const
    {
        for (unsigned int i = 0; i < mItems.size(); ++i) {
            if (mItems[i] == value) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    void clear() { mItems.clear(); }
    void reserve(unsigned int capacity) { mItems.reserve(capacity); }

    iterator begin() { return mItems.begin(); }
    iterator end() { return mItems.end(); }
    const_iterator begin() const { return mItems.begin(); }
    const_iterator end() const { return mItems.end(); }

private:
    bool inRange(int index) const { return index >= 0 && static_cast<unsigned int>(index) < mItems.size(); }

    static T& outOfRange()
    {
        static T scratch;
        scratch = T();
        return scratch;
    }

    std::vector<T> mItems;
};

} // namespace CppLib
