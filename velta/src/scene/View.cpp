#include "scene/View.h"

#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Frustrum.h"
#include "scene/SceneRoot.h"

namespace Velta {

View::ViewFilter::ViewFilter(CppLib::SharedPtr<Frustrum> frustrum) : mFrustrum(frustrum) {}

View::ViewFilter::~ViewFilter() = default;

Traverser::StatusResult View::ViewFilter::filter(Node& node)
{
    mLastDistance = node.getTransformedNode().getBoundingVolume().getDistance(*mFrustrum);
    return mLastDistance < 0.0f ? SKIP : CONTINUE;
}

View::View(SceneRoot& scene, CppLib::SharedPtr<Frustrum> frustrum, CppLib::SharedPtr<RenderSettings> settings)
    : Traverser(*scene.getRoot()), mSceneRoot(&scene), mRenderSettings(settings), mFrustrum(frustrum)
{
    if (!frustrum.isNull() && frustrum->getProjectionMode() == CameraSettings::PERSPECTIVE) {
        mViewFilter = CppLib::SharedPtr<ViewFilter>(new ViewFilter(frustrum));
        addFilter(mViewFilter);
    }
}

View::~View() = default;

bool View::renew(const Frustrum& frustrum, CppLib::SharedPtr<RenderSettings> settings)
{
    if (mFrustrum.isNull() || mFrustrum->getProjectionMode() != frustrum.getProjectionMode()) {
        return false;
    }
    // The view filter holds the same frustrum.
    *mFrustrum = frustrum;
    mRenderSettings = settings;
    clearHandlers();
    reset();
    return true;
}

} // namespace Velta
