#include "scene/Camera.h"

#include "resource/RenderSettings.h"
#include "scene/Frustrum.h"
#include "scene/Overlay.h"
#include "scene/SceneRoot.h"
#include "scene/View.h"

#include <algorithm>

namespace Velta {

Camera::Camera()
    : Leaf(CAMERA), mCamSettings(CameraSettings::PERSPECTIVE), mOverlaySettings(CameraSettings::ORTHOGRAPHIC)
{
}

Camera::Camera(const std::string& name)
    : Leaf(CAMERA, name), mCamSettings(CameraSettings::PERSPECTIVE), mOverlaySettings(CameraSettings::ORTHOGRAPHIC)
{
}

Camera::Camera(const std::string& name, const std::string& uniqueName)
    : Leaf(CAMERA, name, uniqueName),
      mCamSettings(CameraSettings::PERSPECTIVE),
      mOverlaySettings(CameraSettings::ORTHOGRAPHIC)
{
}

Camera::~Camera()
{
    unsetOverlay();
}

void Camera::setOverlay(Overlay& overlay)
{
    if (mOverlay == &overlay) {
        return;
    }
    unsetOverlay();
    mOverlay = &overlay;
    overlay.mCameras.push_back(this);
}

void Camera::unsetOverlay()
{
    if (!mOverlay) {
        return;
    }
    std::vector<Camera*>& cameras = mOverlay->mCameras;
    cameras.erase(std::find(cameras.begin(), cameras.end(), this));
    mOverlay = nullptr;
}

CppLib::SharedPtr<View> Camera::getView(float aspect)
{
    SceneRoot* scene = getSceneRoot();
    if (!scene) {
        return CppLib::SharedPtr<View>();
    }
    CppLib::SharedPtr<Frustrum> frustrum =
        mCamSettings.getFrustrum(getTransformedNode().getInverseWorldTransformation(), aspect);
    return scene->getView(frustrum, mCamSettings.getRenderSettings());
}

CppLib::SharedPtr<View> Camera::getOverlayView(float aspect)
{
    if (!mOverlay) {
        return CppLib::SharedPtr<View>();
    }
    CppLib::SharedPtr<Frustrum> frustrum = mOverlaySettings.getFrustrum(getOverlayViewMatrix(), aspect);
    return mOverlay->getView(frustrum, mOverlaySettings.getRenderSettings());
}

CppLib::SharedPtr<View> Camera::getFrameView(float aspect)
{
    SceneRoot* scene = getSceneRoot();
    if (!scene) {
        return CppLib::SharedPtr<View>();
    }
    const Frustrum frustrum(getTransformedNode().getInverseWorldTransformation(), mCamSettings.getProjectionMode(),
                            mCamSettings.getAspectMode(), mCamSettings.getNearDistance(),
                            mCamSettings.getFarDistance(), mCamSettings.getFovX(), mCamSettings.getFovY(), aspect);
    if (mFrameView.isNull() || &mFrameView->getSceneRoot() != scene ||
        !mFrameView->renew(frustrum, mCamSettings.getRenderSettings())) {
        mFrameView = getView(aspect);
    }
    return mFrameView;
}

CppLib::SharedPtr<View> Camera::getFrameOverlayView(float aspect)
{
    if (!mOverlay) {
        return CppLib::SharedPtr<View>();
    }
    const Frustrum frustrum(getOverlayViewMatrix(), mOverlaySettings.getProjectionMode(),
                            mOverlaySettings.getAspectMode(), mOverlaySettings.getNearDistance(),
                            mOverlaySettings.getFarDistance(), mOverlaySettings.getFovX(),
                            mOverlaySettings.getFovY(), aspect);
    if (mFrameOverlayView.isNull() || &mFrameOverlayView->getSceneRoot() != mOverlay ||
        !mFrameOverlayView->renew(frustrum, mOverlaySettings.getRenderSettings())) {
        mFrameOverlayView = getOverlayView(aspect);
    }
    return mFrameOverlayView;
}

CppLib::Matrix<float, 4> Camera::getOverlayViewMatrix() const
{
    return CppLib::Matrix<float, 4>::translation(0.0f, 0.0f, -mOverlayZOffset);
}

} // namespace Velta
