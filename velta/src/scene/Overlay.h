#pragma once

#include "VeltaExport.h"
#include "scene/SceneRoot.h"

#include <vector>

namespace Velta {

class Camera;

/// A scene drawn over a camera's picture in screen space, with the camera's
/// overlay settings: coordinates run from 0 to 1 across the screen.
class VELTA_EXPORT Overlay : public SceneRoot {
public:
    explicit Overlay(int sceneId);
    /// Leaves every camera that shows the overlay without one.
    ~Overlay() override;

private:
    friend class Camera;

    /// The cameras showing this overlay, kept by Camera::setOverlay() and
    /// Camera::unsetOverlay().
    std::vector<Camera*> mCameras;
};

} // namespace Velta
