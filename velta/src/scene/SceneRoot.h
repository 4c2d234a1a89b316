#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class Branch;
class Frustrum;
class Node;
class RenderSettings;
class UpdateTraverser;
class View;

/// One scene: a root branch that everything in the scene hangs below, and the
/// update traverser that brings the scene's world matrices and bounds up to
/// date each frame. Not a node itself.
///
/// Scenes are created and owned by the scene manager. Destroying a scene
/// orphans the nodes attached to its root; they stay their owners'.
class VELTA_EXPORT SceneRoot {
public:
    virtual ~SceneRoot();

    SceneRoot(const SceneRoot&) = delete;
    SceneRoot& operator=(const SceneRoot&) = delete;

    int getSceneId() const { return mSceneId; }

    /// The root branch; its world bound is INFINITE, so it never culls.
    Branch* getRoot() const { return mRoot; }

    CppLib::SharedPtr<UpdateTraverser> getUpdateTraverser() { return mUpdateTraverser; }

    /// A new walk over this scene seen through `frustrum`, to be drawn with
    /// `settings`. A perspective view skips what lies entirely outside the
    /// frustum; an orthographic one (an overlay) walks everything.
    CppLib::SharedPtr<View> getView(CppLib::SharedPtr<Frustrum> frustrum, CppLib::SharedPtr<RenderSettings> settings);

    /// Nodes in the scene, the root included.
    int getNodeCount() const { return mNodeCount; }

protected:
    explicit SceneRoot(int sceneId);

private:
    friend class Node;

    /// Told of every node that joins or leaves the scene.
    bool attachNode(Node& node);
    bool detachNode(Node& node);

    int mSceneId;
    int mNodeCount = 0;
    Branch* mRoot;
    CppLib::SharedPtr<UpdateTraverser> mUpdateTraverser;
};

} // namespace Velta
