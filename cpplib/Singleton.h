#pragma once

namespace CppLib {

/// Base of a class with exactly one instance, made on the first call of
/// getSingleton() and destroyed when the program ends.
///
/// getSingleton() is defined in SingletonInstance.h, which only the library
/// that owns the instance includes (next to an exported explicit
/// instantiation). Everybody else calls that one exported function, so a
/// program and the shared libraries it loads all see the same instance.
template <typename T>
class Singleton {
public:
    static T& getSingleton();

protected:
    Singleton() = default;
    virtual ~Singleton() = default;

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;
};

} // namespace CppLib
