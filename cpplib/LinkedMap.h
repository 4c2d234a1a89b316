#pragma once

#include "cpplib/StandardMap.h"

#include <map>

namespace CppLib {

/// Map ordered by key: iteration yields ascending keys.
template <typename K, typename V>
class LinkedMap : public StandardMap<K, V, std::map<K, V>> {};

} // namespace CppLib
