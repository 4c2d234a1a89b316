#pragma once

#include "VeltaExport.h"
#include "render/Capabilities.h"

namespace Velta {

/// What the OpenGL engine can do; what a driver offers is kept per window by
/// its GLRenderContext. Owned by the engine.
class VELTA_EXPORT GLCapabilities : public Capabilities {
public:
    GLCapabilities() = default;
    ~GLCapabilities() override;
};

} // namespace Velta
