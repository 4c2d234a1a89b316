#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"
#include "scene/Node.h"

namespace Velta {

/// A node with children, kept in attach order. The group does not own its
/// children: detaching hands a child back to the caller, and destroying the
/// group orphans them.
///
/// A child joins the group's scene with its whole subtree when the group is
/// in one. Attaching and detaching mark the group MODIFIED.
class VELTA_EXPORT Group : public Node {
public:
    ~Group() override;

    int getAttachedChildCount() const { return static_cast<int>(mChilds.getSize()); }

    /// The child at `index` in attach order, or null outside 0 … count−1.
    Node* getAttachedChild(int index) const { return mChilds.get(index); }

    bool isAttachedChild(unsigned long long id) const { return findChild(id) >= 0; }

    /// The child with node id `id`, or null.
    Node* getAttachedChildById(unsigned long long id) const;

    Group* asGroup() override { return this; }
    const Group* asGroup() const override { return this; }

protected:
    explicit Group(NodeType type);
    Group(NodeType type, const std::string& name);
    Group(NodeType type, const std::string& name, const std::string& uniqueName);

    /// Adds `child` last; answers its index. Refused with −1, changing
    /// nothing, when the child already has a parent or a scene, or when it is
    /// this group or one of its ancestors (which would close a cycle).
    int attachChild(Node& child);

    /// Takes the child out of the group (and out of the scene) and hands it
    /// back; null when no child has that id.
    Node* detachChild(unsigned long long id);

    /// Detaches every child; false when one of them refused to leave the scene.
    bool detachChilds();

    /// Not provided: children are detached and destroyed by their owners.
    /// Change nothing and answer false.
    bool deleteChild(unsigned long long id);
    bool deleteChilds();

    bool attachSceneRoot(SceneRoot& root) override;
    bool detachSceneRoot() override;

private:
    friend class Node;

    int findChild(unsigned long long id) const;
    bool isSelfOrAncestor(const Node& node) const;

    CppLib::Vector<Node*> mChilds;
};

} // namespace Velta
