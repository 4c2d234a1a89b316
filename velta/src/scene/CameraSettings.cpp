#include "scene/CameraSettings.h"

#include "resource/RenderSettings.h"
#include "scene/Frustrum.h"

namespace Velta {

CameraSettings::CameraSettings(ProjectionMode mode)
    : mNear(mode == PERSPECTIVE ? 0.1 : 1.0),
      mFar(mode == PERSPECTIVE ? 1000.0 : 10.0),
      mFovX(mode == PERSPECTIVE ? 90.0f : 0.0f),
      mFovY(mode == PERSPECTIVE ? 90.0f : 0.0f),
      mProjectionMode(mode)
{
}

CameraSettings::~CameraSettings() = default;

namespace {

const double RADIANS_TO_DEGREES = 180.0 / 3.14159265358979323846;

} // namespace

void CameraSettings::setFovXRadian(float radians)
{
    mFovX = static_cast<float>(radians * RADIANS_TO_DEGREES);
}

void CameraSettings::setFovYRadian(float radians)
{
    mFovY = static_cast<float>(radians * RADIANS_TO_DEGREES);
}

void CameraSettings::setRenderSettings(CppLib::SharedPtr<RenderSettings> settings)
{
    mRenderSettings = settings;
}

CppLib::SharedPtr<Frustrum> CameraSettings::getFrustrum(const CppLib::Matrix<float, 4>& view, float aspect) const
{
    return CppLib::SharedPtr<Frustrum>(
        new Frustrum(view, mProjectionMode, mAspectMode, mNear, mFar, mFovX, mFovY, aspect));
}

} // namespace Velta
