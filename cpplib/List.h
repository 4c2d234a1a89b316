#pragma once

namespace CppLib {

/// Index-addressed sequence. Positions are 0 … size−1.
template <typename T>
class List {
public:
    virtual ~List() = default;

    virtual const T& get(int index) const = 0;
    virtual T& operator[](int index) = 0;
    virtual const T& operator[](int index) const = 0;

    /// Replaces the element at `index` and returns the one that was there.
    virtual T set(int index, const T& value) = 0;

    /// Adds at the end; returns the new element's index.
    virtual int append(const T& value) = 0;

    /// Removes the element at `index`; later elements move down by one.
    virtual void removeAt(int index) = 0;
};

} // namespace CppLib
