#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "plugins/render/opengl/GLMaterialManager.h"
#include "plugins/render/opengl/GLObjectRenderer.h"
#include "plugins/render/opengl/GLSceneManager.h"
#include "scene/Traverser.h"

#include <memory>
#include <vector>

namespace Velta {

class SceneRoot;

class GLRenderContext;
class GLTraverserHandler;
class View;
class Viewport;

/// Draws views of scenes with OpenGL: walks the view to collect lights and
/// drawables, sets the projection, the camera, lights and fog, then draws
/// the opaque and then the blended drawables.
///
/// One per render context, used for every view of every frame; it keeps
/// nothing of a view once it is drawn except the capacity of its lists, so
/// drawing a frame allocates nothing here.
class VELTA_EXPORT GLViewRenderer {
public:
    explicit GLViewRenderer(GLRenderContext& context);
    virtual ~GLViewRenderer();

    GLViewRenderer(const GLViewRenderer&) = delete;
    GLViewRenderer& operator=(const GLViewRenderer&) = delete;

    /// Draws `view` with its frustum and render settings into the current
    /// OpenGL viewport. The view gets the renderer's traversal handler.
    ///
    /// The first time a scene is drawn, and whenever its number of nodes has
    /// changed since, everything in it is uploaded first, seen or not
    /// (GLObjectRenderer::prepare): the frames after that upload nothing
    /// and create no records as the camera turns to new parts of the scene.
    /// The first time, everything is also drawn once where nothing shows
    /// (GLObjectRenderer::warmUp), so that the driver does its own
    /// preparation then too.
    void render(View& view);

    /// Logs, once per viewport, that a viewport shows nothing of its target.
    void reportViewportOutside(const Viewport& viewport, int x, int y, int width, int height, int targetWidth,
                               int targetHeight);

    GLMaterialManager& getMaterialManager() { return mMaterialManager; }
    GLSceneManager& getSceneManager() { return mSceneManager; }
    GLObjectRenderer& getObjectRenderer() { return mObjectRenderer; }

private:
    void loadProjection(View& view);
    /// Prepares `scene` when it is new or its node count changed.
    void prepareScene(SceneRoot& scene);

    /// A scene prepared, with its node count then and the walk that
    /// prepared it (kept, so that preparing again allocates nothing).
    struct PreparedScene {
        SceneRoot* scene;
        int nodeCount;
        std::unique_ptr<Traverser> walk;
    };

    GLMaterialManager mMaterialManager;
    GLSceneManager mSceneManager;
    GLObjectRenderer mObjectRenderer;
    GLTraverserHandler* mHandler;
    CppLib::SharedPtr<Traverser::Handler> mHandlerPtr;
    std::vector<const Viewport*> mReportedViewports;
    std::vector<PreparedScene> mPreparedScenes;
};

} // namespace Velta
