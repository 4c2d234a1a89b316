#pragma once

namespace CppLib {

/// A container of elements `E`.
template <typename E>
class Collection {
public:
    virtual ~Collection() = default;

    virtual unsigned int getSize() const = 0;
    bool isEmpty() const { return getSize() == 0; }
};

} // namespace CppLib
