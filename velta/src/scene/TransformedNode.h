#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "scene/BoundingBox.h"

namespace Velta {

class Node;

/// Where a node is in the world: its world matrix and its world-space bound,
/// brought up to date by the scene's update pass. Every node owns one for its
/// lifetime.
///
/// The world bound of a group takes in the bounds of everything below it; a
/// light below a group makes it INFINITE, a group with nothing to bound is
/// EMPTY.
class VELTA_EXPORT TransformedNode {
public:
    explicit TransformedNode(Node& node);
    virtual ~TransformedNode();

    TransformedNode(const TransformedNode&) = delete;
    TransformedNode& operator=(const TransformedNode&) = delete;

    Node& getNode() const { return *mNode; }

    /// Local to world coordinates; the identity until the first update pass.
    const CppLib::Matrix<float, 4>& getWorldTransformation() const { return mWorld; }

    /// World to local coordinates, computed on first use after a change.
    const CppLib::Matrix<float, 4>& getInverseWorldTransformation() const;

    /// Sets the world matrix; its inverse is computed when next asked for.
    void assignWorldTransformation(const CppLib::Matrix<float, 4>& world);
    void assignWorldTransformation(const CppLib::Matrix<float, 4>& world, const CppLib::Matrix<float, 4>& inverse);

    BoundingVolume& getBoundingVolume() { return mBoundingVolume; }
    const BoundingVolume& getBoundingVolume() const { return mBoundingVolume; }

    /// The world matrix changed in the running update pass and the children
    /// must take it over.
    bool needsPropagation() const { return mNeedsPropagation; }
    void setNeedsPropagation(bool needed) { mNeedsPropagation = needed; }

private:
    Node* mNode;
    CppLib::Matrix<float, 4> mWorld;
    mutable CppLib::Matrix<float, 4> mInverseWorld;
    BoundingBox mBoundingVolume;
    bool mNeedsPropagation = false;
    mutable bool mInverseDirty = false;
};

} // namespace Velta
