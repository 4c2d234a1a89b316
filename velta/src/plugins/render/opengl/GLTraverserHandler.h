#pragma once

#include "VeltaExport.h"
#include "scene/Traverser.h"
#include "scene/View.h"

namespace Velta {

class GLObjectRenderer;
class GLSceneManager;
class ObjectNode;

/// Collects what a view's walk finds: lights go to the scene manager, and
/// drawables inside an object node are queued with the object renderer
/// together with their object and their distance into the view.
/// Draws nothing itself; answers CONTINUE for every node.
class VELTA_EXPORT GLTraverserHandler : public Traverser::Handler {
public:
    GLTraverserHandler(GLSceneManager& sceneManager, GLObjectRenderer& objectRenderer);
    ~GLTraverserHandler() override;

    /// Starts a view; `filter` is its culling filter, or null for an
    /// unculled view (whose drawables then have distance 0).
    void begin(View::ViewFilter* filter);
    /// Starts a walk that hands every drawable to the object renderer's
    /// prepare() instead (lights are left alone); begin() ends it.
    void beginPreparing();

    void reset(Node& start) override;
    StatusResult handle(Node& node, Direction direction, Node* previous) override;

    /// The object whose drawables are being queued; null outside one.
    ObjectNode* getCurrentObject() const { return mCurrentObject; }

private:
    GLSceneManager* mSceneManager;
    GLObjectRenderer* mObjectRenderer;
    View::ViewFilter* mViewFilter = nullptr;
    ObjectNode* mCurrentObject = nullptr;
    bool mPreparing = false;
};

} // namespace Velta
