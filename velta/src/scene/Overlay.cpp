#include "scene/Overlay.h"

#include "scene/Camera.h"

namespace Velta {

Overlay::Overlay(int sceneId) : SceneRoot(sceneId) {}

Overlay::~Overlay()
{
    // Each call takes the camera off the list.
    while (!mCameras.empty()) {
        mCameras.back()->unsetOverlay();
    }
}

} // namespace Velta
