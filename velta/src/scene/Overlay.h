#pragma once

#include "VeltaExport.h"
#include "scene/SceneRoot.h"

#include <utility>
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

    /// A rectangle in the overlay's coordinates (0 to 1 across the screen,
    /// y up).
    struct Area {
        float xMin, yMin, xMax, yMax;
    };

    /// Where the overlay paints every pixel opaquely, whatever lies behind
    /// it. The camera's scene is not shaded there: only whole pixels inside
    /// an area are left out, so an area need not end on a pixel's edge, but
    /// it must not reach a pixel the overlay leaves even slightly
    /// see-through. Whoever fills the overlay keeps the list true to what
    /// it shows; empty by default.
    void setOpaqueAreas(std::vector<Area> areas) { mOpaqueAreas = std::move(areas); }
    const std::vector<Area>& getOpaqueAreas() const { return mOpaqueAreas; }

private:
    friend class Camera;

    /// The cameras showing this overlay, kept by Camera::setOverlay() and
    /// Camera::unsetOverlay().
    std::vector<Camera*> mCameras;
    std::vector<Area> mOpaqueAreas;
};

} // namespace Velta
