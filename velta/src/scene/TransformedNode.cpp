#include "scene/TransformedNode.h"

namespace Velta {

TransformedNode::TransformedNode(Node& node) : mNode(&node) {}

TransformedNode::~TransformedNode() = default;

const CppLib::Matrix<float, 4>& TransformedNode::getInverseWorldTransformation() const
{
    if (mInverseDirty) {
        mInverseWorld = mWorld.inverse();
        mInverseDirty = false;
    }
    return mInverseWorld;
}

void TransformedNode::assignWorldTransformation(const CppLib::Matrix<float, 4>& world)
{
    mWorld = world;
    mInverseDirty = true;
}

void TransformedNode::assignWorldTransformation(const CppLib::Matrix<float, 4>& world,
                                                const CppLib::Matrix<float, 4>& inverse)
{
    mWorld = world;
    mInverseWorld = inverse;
    mInverseDirty = false;
}

} // namespace Velta
