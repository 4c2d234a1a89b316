#pragma once

namespace CppLib {

/// Key and value: the element type of the keyed containers.
template <typename K, typename V>
struct MapEntry {
    K key;
    V value;
};

} // namespace CppLib
