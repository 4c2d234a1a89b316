#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class Frustrum;
class RenderSettings;

/// How a camera projects: clipping distances, fields of view, how the
/// viewport's aspect ratio enters, and the render settings to draw with.
/// A camera holds one for its scene and one for its overlay.
class VELTA_EXPORT CameraSettings {
public:
    enum ProjectionMode {
        PERSPECTIVE = 0,
        ORTHOGRAPHIC = 1
    };

    /// How the viewport's aspect ratio a (width / height) enters the angles.
    enum AspectMode {
        FIXED_FOV = 0,  ///< both angles as set
        FOVY_FIXED = 1, ///< horizontal angle = fovY × a
        FOVX_FIXED = 2  ///< vertical angle = fovX / a
    };

    /// Perspective: near 0.1, far 1000, both angles 90 degrees. Orthographic:
    /// near 1, far 10, both angles 0. Either way FOVY_FIXED and no render
    /// settings.
    explicit CameraSettings(ProjectionMode mode);
    virtual ~CameraSettings();

    ProjectionMode getProjectionMode() const { return mProjectionMode; }
    void setProjectionMode(ProjectionMode mode) { mProjectionMode = mode; }
    AspectMode getAspectMode() const { return mAspectMode; }
    void setAspectMode(AspectMode mode) { mAspectMode = mode; }

    /// Clipping distances, in scene units in front of the eye.
    double getNearDistance() const { return mNear; }
    void setNearDistance(double distance) { mNear = distance; }
    double getFarDistance() const { return mFar; }
    void setFarDistance(double distance) { mFar = distance; }

    /// Fields of view in degrees.
    float getFovX() const { return mFovX; }
    void setFovX(float degrees) { mFovX = degrees; }
    float getFovY() const { return mFovY; }
    void setFovY(float degrees) { mFovY = degrees; }

    /// The same in radians (stored as degrees).
    void setFovXRadian(float radians);
    void setFovYRadian(float radians);

    CppLib::SharedPtr<RenderSettings> getRenderSettings() const { return mRenderSettings; }
    void setRenderSettings(CppLib::SharedPtr<RenderSettings> settings);

    /// The view volume for an eye placed by `view` (world to eye
    /// coordinates) and a viewport of aspect ratio `aspect`.
    CppLib::SharedPtr<Frustrum> getFrustrum(const CppLib::Matrix<float, 4>& view, float aspect) const;

private:
    double mNear;
    double mFar;
    float mFovX;
    float mFovY;
    ProjectionMode mProjectionMode;
    AspectMode mAspectMode = FOVY_FIXED;
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
};

} // namespace Velta
