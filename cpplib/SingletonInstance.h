#pragma once

#include "cpplib/Singleton.h"

namespace CppLib {

// Include only where the singleton is explicitly instantiated (see Singleton.h).
template <typename T>
T& Singleton<T>::getSingleton()
{
    static T instance;
    return instance;
}

} // namespace CppLib
