#pragma once

#include "scene/Node.h"

#include <memory>
#include <utility>
#include <vector>

namespace Ripplejet {

/// Keeps the scene nodes a level makes. Scene groups do not own their
/// children, so whoever makes a node keeps it; the store destroys what it
/// keeps in the reverse order of keeping (children, usually kept after their
/// parents, go first), each node leaving its parent and scene as it goes.
class NodeStore {
public:
    NodeStore() = default;
    ~NodeStore() { clear(); }

    NodeStore(const NodeStore&) = delete;
    NodeStore& operator=(const NodeStore&) = delete;

    /// Takes `node` into the store and answers it.
    template <typename T>
    T& keep(std::unique_ptr<T> node)
    {
        T& kept = *node;
        mNodes.push_back(std::move(node));
        return kept;
    }

    /// The same for a node handed over by a factory as a plain pointer.
    template <typename T>
    T& keep(T* node)
    {
        return keep(std::unique_ptr<T>(node));
    }

    void clear()
    {
        while (!mNodes.empty()) {
            mNodes.pop_back();
        }
    }

private:
    std::vector<std::unique_ptr<Velta::Node>> mNodes;
};

} // namespace Ripplejet
