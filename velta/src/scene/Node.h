#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "scene/TransformedNode.h"

#include <string>

namespace Velta {

class Group;
class Leaf;
class SceneRoot;
class Transformation;

/// A node of a scene graph: groups hold children, leaves are the drawable or
/// positional ends (cameras, lights, geometry, sounds).
///
/// Nodes are plain objects owned by whoever created them; a group does not
/// own its children. A node has at most one parent and belongs to at most one
/// scene; it joins a scene when it is attached below a node of that scene.
/// Destroying a node detaches it from its parent first, and a group orphans
/// its children. Nodes take their id from the scene manager, so they are
/// created while the engine core is started.
///
/// Every change that the update pass must see marks the node MODIFIED and
/// its ancestors CHILD_MODIFIED; the pass leaves what it brought up to date
/// UPDATED.
class VELTA_EXPORT Node {
public:
    enum NodeType {
        BRANCH = 0,
        LIGHT = 1,
        CAMERA = 2,
        OBJECT = 3,
        TRANSFORMATION = 4,
        SOUND = 5
    };

    enum NodeStatus {
        NEW = 0,            ///< never updated; counts as modified
        CHILD_MODIFIED = 1, ///< something below the node changed
        MODIFIED = 2,       ///< the node itself changed
        UPDATED = 3         ///< up to date after an update pass
    };

    virtual ~Node();

    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    unsigned long long getNodeId() const { return mNodeId; }
    NodeType getNodeType() const { return mNodeType; }
    NodeStatus getNodeStatus() const { return mNodeStatus; }
    std::string getName() const { return mName; }
    std::string getUniqueName() const { return mUniqueName; }

    SceneRoot* getSceneRoot() const { return mSceneRoot; }
    bool isAttached() const { return mSceneRoot != nullptr; }
    Group* getParent() const { return mParent; }

    /// With `ownChangesOnly` a node that is only CHILD_MODIFIED counts as
    /// unmodified; otherwise every status but UPDATED counts as modified.
    bool isModified(bool ownChangesOnly) const;

    /// Bracket the update pass's work on the node; finishUpdate() leaves it
    /// UPDATED. Called by the update pass only.
    void startUpdate() { mUpdating = true; }
    void finishUpdate();
    bool isUpdating() const { return mUpdating; }

    TransformedNode& getTransformedNode() { return mTransformedNode; }
    const TransformedNode& getTransformedNode() const { return mTransformedNode; }

    /// Called by the update pass with true when it enters the node and with
    /// false when it is done with it (after the node's children). Does nothing
    /// here.
    virtual void update(bool beforeChildren);

    /// Free-form string properties; a key never set reads as "".
    virtual void setProperty(const std::string& key, const std::string& value);
    virtual bool hasProperty(const std::string& key) const;
    virtual std::string getProperty(const std::string& key) const;

    /// The node as a group or a leaf, or null: kind tests without a cast.
    virtual Group* asGroup() { return nullptr; }
    virtual const Group* asGroup() const { return nullptr; }
    virtual const Leaf* asLeaf() const { return nullptr; }
    /// The node's local transformation, or null when it has none.
    virtual const Transformation* asTransformation() const { return nullptr; }

protected:
    explicit Node(NodeType type);
    Node(NodeType type, const std::string& name);
    Node(NodeType type, const std::string& name, const std::string& uniqueName);

    /// Marks the node MODIFIED (or, with `childModified`, CHILD_MODIFIED) and
    /// every ancestor CHILD_MODIFIED, up to the first one already marked. A
    /// MODIFIED node is never lowered to CHILD_MODIFIED.
    void setModified(bool childModified);

    void setParent(Group* parent) { mParent = parent; }

    /// Joins or leaves a scene and marks the node modified. Joining answers
    /// false when the node is already in a scene.
    virtual bool attachSceneRoot(SceneRoot& root);
    virtual bool detachSceneRoot();

private:
    friend class Group;
    friend class SceneRoot;

    NodeType mNodeType;
    SceneRoot* mSceneRoot = nullptr;
    unsigned long long mNodeId;
    std::string mName;
    std::string mUniqueName;
    Group* mParent = nullptr;
    NodeStatus mNodeStatus = NEW;
    TransformedNode mTransformedNode;
    bool mUpdating = false;
    CppLib::LinkedMap<std::string, std::string> mProperties;
};

} // namespace Velta
