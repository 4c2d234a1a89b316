#include "scene/Frustrum.h"

#include <cmath>

namespace Velta {

namespace {

const double DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;

/// The plane (a, b, c, d) scaled to unit length over all four components;
/// an all-zero plane stays zero.
Plane normalizedPlane(float a, float b, float c, float d)
{
    const float length = std::sqrt(a * a + b * b + c * c + d * d);
    if (length == 0.0f) {
        return Plane();
    }
    return Plane(a / length, b / length, c / length, d / length);
}

} // namespace

Frustrum::Frustrum(const CppLib::Matrix<float, 4>& view, CameraSettings::ProjectionMode projectionMode,
                   CameraSettings::AspectMode aspectMode, double nearDistance, double farDistance, float fovX,
                   float fovY, float aspect)
    : mProjectionMode(projectionMode), mView(view), mNear(nearDistance), mFar(farDistance), mAspect(aspect)
{
    switch (aspectMode) {
    case CameraSettings::FOVX_FIXED:
        mFovX = fovX;
        mFovY = fovX / aspect;
        break;
    case CameraSettings::FOVY_FIXED:
        mFovX = fovY * aspect;
        mFovY = fovY;
        break;
    case CameraSettings::FIXED_FOV:
    default:
        mFovX = fovX;
        mFovY = fovY;
        break;
    }
    mRight = static_cast<float>(std::tan(mFovX * DEGREES_TO_RADIANS * 0.5) * mNear);
    mLeft = -mRight;
    mTop = static_cast<float>(std::tan(mFovY * DEGREES_TO_RADIANS * 0.5) * mNear);
    mBottom = -mTop;
    computeProjection();
    computePlanes();
}

Frustrum::~Frustrum() = default;

void Frustrum::computeProjection()
{
    if (mProjectionMode != CameraSettings::PERSPECTIVE) {
        return; // stays the identity
    }
    const double n = mNear;
    const double f = mFar;
    mProjection.set(0, 0, static_cast<float>(2.0 * n / (mRight - mLeft)));
    mProjection.set(0, 2, (mRight + mLeft) / (mRight - mLeft));
    mProjection.set(1, 1, static_cast<float>(2.0 * n / (mTop - mBottom)));
    mProjection.set(1, 2, (mTop + mBottom) / (mTop - mBottom));
    mProjection.set(2, 2, static_cast<float>((n + f) / (n - f)));
    mProjection.set(2, 3, static_cast<float>(2.0 * n * f / (n - f)));
    mProjection.set(3, 2, -1.0f);
    mProjection.set(3, 3, 0.0f);
}

void Frustrum::computePlanes()
{
    // Each plane is a sum or difference of the last row of the combined
    // matrix and one of the others: clip-space −w ≤ x, y, z ≤ w in world terms.
    const CppLib::Matrix<float, 4> m = mProjection * mView;
    const auto row = [&m](int r, int column) { return m.get(r, column); };
    const int other[PLANE_COUNT] = {0, 0, 1, 1, 2, 2};
    const float sign[PLANE_COUNT] = {-1.0f, 1.0f, 1.0f, -1.0f, -1.0f, 1.0f};
    for (int i = 0; i < PLANE_COUNT; ++i) {
        const int r = other[i];
        mPlanes[i] = normalizedPlane(row(3, 0) + sign[i] * row(r, 0), row(3, 1) + sign[i] * row(r, 1),
                                     row(3, 2) + sign[i] * row(r, 2), row(3, 3) + sign[i] * row(r, 3));
    }
}

bool Frustrum::contains(const Point& point) const
{
    for (const Plane& plane : mPlanes) {
        if (plane.getDistance(point) < 0.0f) {
            return false;
        }
    }
    return true;
}

} // namespace Velta
