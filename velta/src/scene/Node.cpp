#include "scene/Node.h"

#include "core/VeltaCore.h"
#include "scene/Group.h"
#include "scene/SceneManager.h"
#include "scene/SceneRoot.h"

namespace Velta {

namespace {

unsigned long long createNodeId()
{
    return CppLib::Singleton<VeltaCore>::getSingleton().getSceneManager().createNodeId();
}

} // namespace

Node::Node(NodeType type) : Node(type, std::string(), std::string()) {}

Node::Node(NodeType type, const std::string& name) : Node(type, name, std::string()) {}

Node::Node(NodeType type, const std::string& name, const std::string& uniqueName)
    : mNodeType(type), mNodeId(createNodeId()), mName(name), mUniqueName(uniqueName), mTransformedNode(*this)
{
}

Node::~Node()
{
    // A parent must never hold a destroyed child: leave it first (which also
    // leaves the scene).
    if (mParent) {
        mParent->detachChild(mNodeId);
    }
    if (mSceneRoot) {
        mSceneRoot->detachNode(*this);
        mSceneRoot = nullptr;
    }
}

bool Node::isModified(bool ownChangesOnly) const
{
    if (ownChangesOnly && mNodeStatus == CHILD_MODIFIED) {
        return false;
    }
    return mNodeStatus != UPDATED;
}

void Node::finishUpdate()
{
    mUpdating = false;
    mNodeStatus = UPDATED;
}

void Node::update(bool) {}

void Node::setProperty(const std::string& key, const std::string& value)
{
    mProperties.put(key, value);
}

bool Node::hasProperty(const std::string& key) const
{
    return mProperties.contains(key);
}

std::string Node::getProperty(const std::string& key) const
{
    const std::string* value = mProperties.find(key);
    return value ? *value : std::string();
}

void Node::setModified(bool childModified)
{
    Node* node = this;
    bool child = childModified;
    while (node) {
        const NodeStatus status = node->mNodeStatus;
        if (status == MODIFIED || (child && status == CHILD_MODIFIED)) {
            return; // this node and so its ancestors are already marked
        }
        node->mNodeStatus = child ? CHILD_MODIFIED : MODIFIED;
        node = node->mParent;
        child = true;
    }
}

bool Node::attachSceneRoot(SceneRoot& root)
{
    if (mSceneRoot) {
        return false;
    }
    mSceneRoot = &root;
    root.attachNode(*this);
    setModified(false);
    return true;
}

bool Node::detachSceneRoot()
{
    if (mSceneRoot) {
        mSceneRoot->detachNode(*this);
        mSceneRoot = nullptr;
    }
    setModified(false);
    return true;
}

} // namespace Velta
