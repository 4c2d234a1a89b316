#include "scene/UpdateTraverser.h"

#include "scene/Branch.h"
#include "scene/Drawable.h"
#include "scene/Leaf.h"
#include "scene/SceneRoot.h"
#include "scene/Transformation.h"

namespace Velta {

UpdateTraverser::UpdateTraverser(SceneRoot& scene)
    : Traverser(*scene.getRoot()), mUpdateHandler(new UpdateHandler(*this))
{
    setSkipRoot(true);
    addHandler(mUpdateHandler);
}

UpdateTraverser::~UpdateTraverser() = default;

int UpdateTraverser::update(long long)
{
    reset(false);
    walk(0, false);
    return 0;
}

UpdateTraverser::ModifiedFilter::~ModifiedFilter() = default;

Traverser::StatusResult UpdateTraverser::ModifiedFilter::filter(Node& node)
{
    return node.getNodeStatus() == Node::UPDATED ? SKIP : CONTINUE;
}

UpdateTraverser::UpdateHandler::UpdateHandler(UpdateTraverser& traverser) : mTraverser(&traverser) {}

UpdateTraverser::UpdateHandler::~UpdateHandler() = default;

void UpdateTraverser::UpdateHandler::reset(Node&)
{
    mPending = nullptr;
}

Traverser::StatusResult UpdateTraverser::UpdateHandler::handle(Node& node, Direction direction, Node*)
{
    if (direction == UP) {
        leavePending();
        leave(node);
        return CONTINUE;
    }
    if (direction == DOWN) {
        mPending = nullptr; // the walk descends into it: it will come back UP
    } else {
        leavePending();
    }
    return enter(node);
}

Traverser::StatusResult UpdateTraverser::UpdateHandler::enter(Node& node)
{
    node.startUpdate();
    Group* parent = node.getParent();
    if (!parent) {
        return CONTINUE;
    }
    node.update(true);

    TransformedNode& own = node.getTransformedNode();
    BoundingVolume& parentBound = parent->getTransformedNode().getBoundingVolume();
    if (node.getNodeStatus() == Node::UPDATED && !parent->getTransformedNode().needsPropagation()) {
        // Nothing changed here: the subtree keeps its matrices, and its bound
        // still counts in the parent's, which is being rebuilt.
        parentBound.expand(own.getBoundingVolume());
        node.finishUpdate();
        return SKIP;
    }

    placeInWorld(node, *parent);

    BoundingVolume& bound = own.getBoundingVolume();
    bound.setEmpty();
    if (const Leaf* leaf = node.asLeaf()) {
        if (const BoundingVolume* local = leaf->getBoundingVolume()) {
            bound.expand(*local, own.getWorldTransformation());
        }
    }
    parentBound.expand(bound);
    mPending = &node;
    return CONTINUE;
}

void UpdateTraverser::UpdateHandler::placeInWorld(Node& node, const Node& parent)
{
    const TransformedNode& up = parent.getTransformedNode();
    TransformedNode& own = node.getTransformedNode();
    // A node that changed itself, or has just joined the scene (NEW or
    // MODIFIED), takes its place from its parent even when the parent did not
    // move: otherwise a node attached below a placed group would stay at the
    // origin.
    const bool changed = node.getNodeStatus() == Node::MODIFIED || node.getNodeStatus() == Node::NEW;
    if (!changed && !up.needsPropagation()) {
        return;
    }
    if (const Transformation* local = node.asTransformation()) {
        const CppLib::Matrix<float, 4> world = up.getWorldTransformation() * local->getLocalTransformation();
        if (mComputeInverse) {
            own.assignWorldTransformation(world,
                                          local->getInverseTransformation() * up.getInverseWorldTransformation());
        } else {
            own.assignWorldTransformation(world);
        }
    } else if (mComputeInverse) {
        own.assignWorldTransformation(up.getWorldTransformation(), up.getInverseWorldTransformation());
    } else {
        own.assignWorldTransformation(up.getWorldTransformation());
    }
    own.setNeedsPropagation(true);
}

void UpdateTraverser::UpdateHandler::leave(Node& node)
{
    TransformedNode& own = node.getTransformedNode();
    if (Group* parent = node.getParent()) {
        if (node.getNodeType() == Node::OBJECT && !node.asLeaf()) {
            const Drawable* drawable = dynamic_cast<const Drawable*>(&node);
            const BoundingVolume* local = drawable ? drawable->getBoundingVolume() : nullptr;
            if (local) {
                own.getBoundingVolume().expand(*local, own.getWorldTransformation());
            }
        }
        parent->getTransformedNode().getBoundingVolume().expand(own.getBoundingVolume());
    }
    node.update(false);
    node.finishUpdate();
    own.setNeedsPropagation(false);
}

void UpdateTraverser::UpdateHandler::leavePending()
{
    if (mPending) {
        Node* node = mPending;
        mPending = nullptr;
        leave(*node);
    }
}

} // namespace Velta
