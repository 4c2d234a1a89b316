#pragma once

#include "VeltaExport.h"
#include "scene/SceneRoot.h"

namespace Velta {

/// A scene drawn over a camera's picture in screen space, with the camera's
/// overlay settings: coordinates run from 0 to 1 across the screen.
class VELTA_EXPORT Overlay : public SceneRoot {
public:
    explicit Overlay(int sceneId);
    ~Overlay() override;
};

} // namespace Velta
