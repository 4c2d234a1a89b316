#include "plugins/render/opengl/GLViewRenderer.h"

#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLTraverserHandler.h"
#include "plugins/render/opengl/GLTypes.h"
#include "render/Viewport.h"
#include "scene/Branch.h"
#include "scene/Frustrum.h"
#include "scene/SceneRoot.h"
#include "scene/View.h"

#include <GL/glew.h>

#include <algorithm>
#include <string>

namespace Velta {

GLViewRenderer::GLViewRenderer(GLRenderContext& context)
    : mMaterialManager(context),
      mSceneManager(context),
      mObjectRenderer(context, mMaterialManager),
      mHandler(new GLTraverserHandler(mSceneManager, mObjectRenderer)),
      mHandlerPtr(mHandler)
{
}

GLViewRenderer::~GLViewRenderer() = default;

void GLViewRenderer::render(View& view)
{
    const CppLib::SharedPtr<Frustrum> frustrum = view.getFrustrum();
    if (frustrum.isNull()) {
        return;
    }
    const CppLib::SharedPtr<RenderSettings> settings = view.getRenderSettings();
    mSceneManager.begin(settings);
    mObjectRenderer.begin(settings, frustrum.get());
    mMaterialManager.begin(settings);
    prepareScene(view.getSceneRoot());
    mHandler->begin(view.getViewFilter());

    // Collect lights and drawables; nothing is drawn yet.
    view.addHandler(mHandlerPtr);
    view.walk(0, false);

    loadProjection(view);

    // The camera matrix stays below a working copy that each light and
    // drawable replaces.
    glMatrixMode(GL_MODELVIEW);
    GLTypes::loadMatrix(frustrum->getViewMatrix());
    glPushMatrix();
    mSceneManager.setupLights();
    mSceneManager.setupFog();
    mObjectRenderer.warmUp();

    mObjectRenderer.draw();
    glPopMatrix();
    mHandler->begin(nullptr);
}

void GLViewRenderer::prepareScene(SceneRoot& scene)
{
    PreparedScene* prepared = nullptr;
    for (PreparedScene& candidate : mPreparedScenes) {
        if (candidate.scene == &scene) {
            prepared = &candidate;
        }
    }
    // A scene made where a deleted one was has another root (or the same
    // node at the same place): the walk is kept only for the root it starts
    // from.
    Node* root = scene.getRoot();
    if (prepared && prepared->walk && &prepared->walk->getRoot() != root) {
        prepared->walk = nullptr;
    }
    if (prepared && prepared->walk && prepared->nodeCount == scene.getNodeCount()) {
        return;
    }
    if (!root) {
        return;
    }
    if (!prepared) {
        mPreparedScenes.push_back({&scene, 0, nullptr});
        prepared = &mPreparedScenes.back();
    }
    prepared->nodeCount = scene.getNodeCount();
    mHandler->beginPreparing();
    // A scene new to this renderer is also drawn once where nothing shows
    // (in render(), once lights and fog are set). Later preparations, after
    // nodes came or went, leave that out: they happen while the scene is
    // being shown, and drawing all of it again would cost that frame more
    // than a new node's first draw does.
    mObjectRenderer.setKeepingForWarmUp(!prepared->walk);
    if (!prepared->walk) {
        prepared->walk = std::make_unique<Traverser>(*root);
        prepared->walk->addHandler(mHandlerPtr);
    }
    prepared->walk->walk(0, false);
    mObjectRenderer.setKeepingForWarmUp(false);
    mHandler->begin(nullptr);
    mObjectRenderer.reserveForPrepared();
}

void GLViewRenderer::loadProjection(View& view)
{
    const Frustrum& frustrum = *view.getFrustrum();
    glMatrixMode(GL_PROJECTION);
    if (frustrum.getProjectionMode() == CameraSettings::PERSPECTIVE) {
        GLTypes::loadMatrix(frustrum.getProjectionMatrix());
    } else {
        // Overlays: a unit square with (0, 0) at the lower left.
        glLoadIdentity();
        glOrtho(0.0, 1.0, 0.0, 1.0, frustrum.getNearDistance(), frustrum.getFarDistance());
    }
}

void GLViewRenderer::reportViewportOutside(const Viewport& viewport, int x, int y, int width, int height,
                                           int targetWidth, int targetHeight)
{
    if (std::find(mReportedViewports.begin(), mReportedViewports.end(), &viewport) != mReportedViewports.end()) {
        return;
    }
    mReportedViewports.push_back(&viewport);
    VeltaCore::getLogger("glrendercontext")->error(
        "Viewport (" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(width) + " x " +
        std::to_string(height) + ") shows nothing of its " + std::to_string(targetWidth) + " x " +
        std::to_string(targetHeight) + " target and is not drawn");
}

} // namespace Velta
