#pragma once

#include "VeltaExport.h"
#include "scene/Node.h"

namespace Velta {

class BoundingVolume;

/// A node without children: a camera, a light, a piece of geometry, a sound.
class VELTA_EXPORT Leaf : public Node {
public:
    ~Leaf() override;

    /// The node's own bound in its local coordinates, or null for none. The
    /// update pass places it by the node's world matrix into the world bound.
    virtual const BoundingVolume* getBoundingVolume() const = 0;

    const Leaf* asLeaf() const override { return this; }

protected:
    explicit Leaf(NodeType type);
    Leaf(NodeType type, const std::string& name);
    Leaf(NodeType type, const std::string& name, const std::string& uniqueName);
};

} // namespace Velta
