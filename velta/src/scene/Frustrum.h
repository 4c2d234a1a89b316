#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "scene/CameraSettings.h"
#include "scene/Plane.h"

namespace Velta {

/// The volume a camera sees: its view and projection matrices and the six
/// planes bounding what lies in view, all in world coordinates. Made by
/// CameraSettings::getFrustrum for one frame; immutable.
class VELTA_EXPORT Frustrum {
public:
    static const int PLANE_COUNT = 6;

    /// Planes in this order; each faces inward.
    enum PlaneIndex {
        RIGHT_PLANE = 0,
        LEFT_PLANE = 1,
        BOTTOM_PLANE = 2,
        TOP_PLANE = 3,
        FAR_PLANE = 4,
        NEAR_PLANE = 5
    };

    /// `view` maps world to eye coordinates, angles are in degrees, `aspect`
    /// is the viewport's width / height.
    Frustrum(const CppLib::Matrix<float, 4>& view, CameraSettings::ProjectionMode projectionMode,
             CameraSettings::AspectMode aspectMode, double nearDistance, double farDistance, float fovX,
             float fovY, float aspect);
    virtual ~Frustrum();

    CameraSettings::ProjectionMode getProjectionMode() const { return mProjectionMode; }
    const CppLib::Matrix<float, 4>& getViewMatrix() const { return mView; }

    /// The perspective projection; the identity for an orthographic frustum,
    /// whose projection the renderer sets up itself.
    const CppLib::Matrix<float, 4>& getProjectionMatrix() const { return mProjection; }

    double getNearDistance() const { return mNear; }
    double getFarDistance() const { return mFar; }
    float getAspect() const { return mAspect; }

    /// The angles in effect after the aspect mode was applied, in degrees.
    float getFovX() const { return mFovX; }
    float getFovY() const { return mFovY; }

    /// Extents of the view at the near distance.
    float getRight() const { return mRight; }
    float getLeft() const { return mLeft; }
    float getTop() const { return mTop; }
    float getBottom() const { return mBottom; }

    const Plane& getPlane(int index) const { return mPlanes[index]; }

    /// True when the point is on the inside of (or on) every plane.
    bool contains(const Point& point) const;

private:
    void computeProjection();
    void computePlanes();

    CameraSettings::ProjectionMode mProjectionMode;
    CppLib::Matrix<float, 4> mView;
    CppLib::Matrix<float, 4> mProjection;
    double mNear;
    double mFar;
    float mAspect;
    float mFovX;
    float mFovY;
    float mRight;
    float mLeft;
    float mTop;
    float mBottom;
    Plane mPlanes[PLANE_COUNT];
};

} // namespace Velta
