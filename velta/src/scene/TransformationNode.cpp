#include "scene/TransformationNode.h"

namespace Velta {

TransformationNode::TransformationNode() : Group(TRANSFORMATION) {}

TransformationNode::TransformationNode(const std::string& name) : Group(TRANSFORMATION, name) {}

TransformationNode::TransformationNode(const std::string& name, const std::string& uniqueName)
    : Group(TRANSFORMATION, name, uniqueName)
{
}

TransformationNode::~TransformationNode() = default;

Node* TransformationNode::setChild(Node& child)
{
    Node* previous = getChild();
    if (previous == &child) {
        return previous;
    }
    // Check before letting the old child go, so a refused replacement does
    // not leave the node empty.
    if (child.isAttached() || child.getParent()) {
        return nullptr;
    }
    if (previous) {
        Group::detachChild(previous->getNodeId());
    }
    if (attachChild(child) < 0) {
        // Refused as a cycle (and logged): put the old child back.
        if (previous) {
            attachChild(*previous);
        }
        return nullptr;
    }
    return previous;
}

Node* TransformationNode::detachChild()
{
    Node* child = getChild();
    return child ? Group::detachChild(child->getNodeId()) : nullptr;
}

void TransformationNode::onModified()
{
    setModified(false);
}

} // namespace Velta
