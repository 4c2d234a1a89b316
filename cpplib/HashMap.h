#pragma once

#include "cpplib/StandardMap.h"

#include <unordered_map>

namespace CppLib {

/// Hash map: constant-time lookup, no defined iteration order.
template <typename K, typename V>
class HashMap : public StandardMap<K, V, std::unordered_map<K, V>> {};

} // namespace CppLib
