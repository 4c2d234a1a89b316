#include "scene/Group.h"

#include "core/VeltaCore.h"

namespace Velta {

Group::Group(NodeType type) : Node(type) {}

Group::Group(NodeType type, const std::string& name) : Node(type, name) {}

Group::Group(NodeType type, const std::string& name, const std::string& uniqueName)
    : Node(type, name, uniqueName)
{
}

Group::~Group()
{
    detachChilds();
}

Node* Group::getAttachedChildById(unsigned long long id) const
{
    const int index = findChild(id);
    return index >= 0 ? mChilds.get(index) : nullptr;
}

int Group::attachChild(Node& child)
{
    if (child.isAttached() || child.getParent()) {
        return -1;
    }
    if (isSelfOrAncestor(child)) {
        VeltaCore::getLogger("scene")->warn("Refused to attach node " + std::to_string(child.getNodeId()) +
                                            " below node " + std::to_string(getNodeId()) + ", which lies inside it");
        return -1;
    }
    const int index = mChilds.append(&child);
    setModified(false);
    child.setParent(this);
    if (isAttached()) {
        child.attachSceneRoot(*getSceneRoot());
    }
    return index;
}

Node* Group::detachChild(unsigned long long id)
{
    const int index = findChild(id);
    if (index < 0) {
        return nullptr;
    }
    Node* child = mChilds.get(index);
    mChilds.removeAt(index);
    setModified(false);
    child->setParent(nullptr);
    if (isAttached()) {
        child->detachSceneRoot();
    }
    return child;
}

bool Group::detachChilds()
{
    setModified(false);
    bool allLeft = true;
    for (Node* child : mChilds) {
        child->setParent(nullptr);
        if (isAttached() && !child->detachSceneRoot()) {
            allLeft = false;
        }
    }
    mChilds.clear();
    return allLeft;
}

bool Group::deleteChild(unsigned long long)
{
    return false;
}

bool Group::deleteChilds()
{
    return false;
}

bool Group::attachSceneRoot(SceneRoot& root)
{
    if (!Node::attachSceneRoot(root)) {
        return false;
    }
    bool allJoined = true;
    for (Node* child : mChilds) {
        if (!child->attachSceneRoot(root)) {
            allJoined = false;
        }
    }
    return allJoined;
}

bool Group::detachSceneRoot()
{
    if (!Node::detachSceneRoot()) {
        return false;
    }
    bool allLeft = true;
    for (Node* child : mChilds) {
        if (!child->detachSceneRoot()) {
            allLeft = false;
        }
    }
    return allLeft;
}

int Group::findChild(unsigned long long id) const
{
    for (unsigned int i = 0; i < mChilds.getSize(); ++i) {
        if (mChilds.get(static_cast<int>(i))->getNodeId() == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Group::isSelfOrAncestor(const Node& node) const
{
    for (const Node* up = this; up; up = up->getParent()) {
        if (up == &node) {
            return true;
        }
    }
    return false;
}

} // namespace Velta
