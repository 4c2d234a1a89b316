#pragma once

#include "VeltaExport.h"
#include "scene/Camera.h"

namespace Velta {

/// A camera that adds nothing to Camera: a distinct type for hosts that tell
/// their cameras apart.
class VELTA_EXPORT MetaCamera : public Camera {
public:
    MetaCamera();
    explicit MetaCamera(const std::string& name);
    ~MetaCamera() override;
};

} // namespace Velta
