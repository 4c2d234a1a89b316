#pragma once

#include "VeltaExport.h"
#include "scene/Traverser.h"

namespace Velta {

class SceneRoot;

/// The per-frame pass that brings a scene's world matrices, world bounds and
/// node statuses up to date. One per scene, built over the scene's root; the
/// scene manager runs it every frame.
///
/// The pass is incremental: it enters a node only when the node or something
/// below it changed (its status is not UPDATED) or its parent's world matrix
/// changed in this pass. A frame in which nothing changed touches the root's
/// children only; a moved transformation node recomputes itself and its
/// subtree, and its ancestors' bounds, nothing else.
class VELTA_EXPORT UpdateTraverser : public Traverser {
public:
    /// Does the work of the pass for every node handed over.
    class VELTA_EXPORT UpdateHandler : public Traverser::Handler {
    public:
        explicit UpdateHandler(UpdateTraverser& traverser);
        ~UpdateHandler() override;

        void reset(Node& start) override;
        StatusResult handle(Node& node, Direction direction, Node* previous) override;

        /// Also keep the inverse world matrices current during the pass
        /// (otherwise each is computed when first asked for). Off by default.
        void setComputeInverse(bool compute) { mComputeInverse = compute; }
        bool doComputeInverse() const { return mComputeInverse; }

        UpdateTraverser& getTraverser() const { return *mTraverser; }

    private:
        StatusResult enter(Node& node);
        void placeInWorld(Node& node, const Node& parent);
        void leave(Node& node);
        void leavePending();

        UpdateTraverser* mTraverser;
        bool mComputeInverse = false;
        /// The last node entered whose leaving is still due: a leaf or a group
        /// whose children were not entered gets no UP from the walk.
        Node* mPending = nullptr;
    };

    /// Lets in only nodes whose status is not UPDATED. Not installed by
    /// default.
    class VELTA_EXPORT ModifiedFilter : public Traverser::Filter {
    public:
        ~ModifiedFilter() override;
        StatusResult filter(Node& node) override;
    };

    explicit UpdateTraverser(SceneRoot& scene);
    ~UpdateTraverser() override;

    /// One pass over the scene; `time` (milliseconds) is not used. Answers 0.
    int update(long long time);

    UpdateHandler& getUpdateHandler() { return *mUpdateHandler; }

private:
    CppLib::SharedPtr<UpdateHandler> mUpdateHandler;
};

} // namespace Velta
