#pragma once

#include <deque>

namespace CppLib {

/// Last-in-first-out stack. pop() on an empty stack does nothing and top()
/// of an empty stack is a value-initialised element.
template <typename T>
class Stack {
public:
    virtual ~Stack() = default;

    void push(const T& value) { mItems.push_back(value); }

    void pop()
    {
        if (!mItems.empty()) {
            mItems.pop_back();
        }
    }

    T top() const { return mItems.empty() ? T() : mItems.back(); }
    bool isEmpty() const { return mItems.empty(); }
    unsigned int getSize() const { return static_cast<unsigned int>(mItems.size()); }
    void clear() { mItems.clear(); }

private:
    std::deque<T> mItems;
};

} // namespace CppLib
