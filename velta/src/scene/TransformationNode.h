#pragma once

#include "VeltaExport.h"
#include "scene/Group.h"
#include "scene/Transformation.h"

namespace Velta {

/// Places what lies below it: a group whose local transformation multiplies
/// into the world matrix of its subtree. Every change of the matrix marks the
/// node MODIFIED. By convention it holds one child.
class VELTA_EXPORT TransformationNode : public Group, public Transformation {
public:
    TransformationNode();
    explicit TransformationNode(const std::string& name);
    TransformationNode(const std::string& name, const std::string& uniqueName);
    ~TransformationNode() override;

    /// The first child, or null.
    Node* getChild() const { return getAttachedChild(0); }

    /// Makes `child` the one child and hands back the previous one (null when
    /// there was none). When `child` cannot be attached (it has a parent or a
    /// scene, or contains this node) nothing changes and the answer is null.
    Node* setChild(Node& child);

    /// Detaches and hands back the child; null when there is none.
    Node* detachChild();

    const Transformation* asTransformation() const override { return this; }

protected:
    void onModified() override;
};

} // namespace Velta
