#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "scene/BoundingBox.h"
#include "scene/CameraSettings.h"
#include "scene/Leaf.h"

namespace Velta {

class Overlay;
class View;

/// An eye placed in a scene like any other node: its world matrix is its
/// position and orientation, looking along its −z axis with +y up. It makes
/// the View of its scene for a viewport, and may carry an overlay scene drawn
/// over that picture with a second, orthographic set of settings.
///
/// The overlay stays its scene manager's: deleting it leaves every camera
/// that shows it without an overlay. A camera has an EMPTY bound, so views
/// never enter it.
class VELTA_EXPORT Camera : public Leaf {
public:
    Camera();
    explicit Camera(const std::string& name);
    Camera(const std::string& name, const std::string& uniqueName);
    ~Camera() override;

    /// Perspective settings for the scene.
    CameraSettings& getCamSettings() { return mCamSettings; }
    const CameraSettings& getCamSettings() const { return mCamSettings; }

    /// Orthographic settings for the overlay.
    CameraSettings& getOverlaySettings() { return mOverlaySettings; }
    const CameraSettings& getOverlaySettings() const { return mOverlaySettings; }

    void setOverlay(Overlay& overlay);
    void unsetOverlay();
    /// The overlay shown; null for none (or after it was deleted).
    Overlay* getOverlay() const { return mOverlay; }

    /// Whether the overlay is drawn: only when switched on (the default) and
    /// an overlay is set.
    void setUseOverlay(bool use) { mUseOverlay = use; }
    bool useOverlay() const { return mUseOverlay && mOverlay; }

    /// How far in front of the overlay's eye its plane lies (2 by default).
    void setOverlayZOffset(float offset) { mOverlayZOffset = offset; }
    float getOverlayZOffset() const { return mOverlayZOffset; }

    /// The view of the camera's scene for a viewport of aspect ratio
    /// `aspect` (width / height); empty while the camera is in no scene.
    CppLib::SharedPtr<View> getView(float aspect);

    /// The view of the overlay; empty when there is no overlay.
    CppLib::SharedPtr<View> getOverlayView(float aspect);

    /// The same views, kept by the camera and made over on each call: after
    /// the first call they allocate nothing. Valid until the next call (a
    /// renderer's view for one frame).
    CppLib::SharedPtr<View> getFrameView(float aspect);
    CppLib::SharedPtr<View> getFrameOverlayView(float aspect);

    /// The view matrix of the overlay: the overlay plane lies the z offset in
    /// front of an eye at the origin.
    CppLib::Matrix<float, 4> getOverlayViewMatrix() const;

    const BoundingVolume* getBoundingVolume() const override { return &mBoundingVolume; }
    virtual const BoundingVolume* getPhysicsVolume() const { return nullptr; }

private:
    CameraSettings mCamSettings;
    CameraSettings mOverlaySettings;
    Overlay* mOverlay = nullptr;
    float mOverlayZOffset = 2.0f;
    bool mUseOverlay = true;
    BoundingBox mBoundingVolume;
    CppLib::SharedPtr<View> mFrameView;
    CppLib::SharedPtr<View> mFrameOverlayView;
};

} // namespace Velta
