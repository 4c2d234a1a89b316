#pragma once

#include "VeltaExport.h"
#include "render/TargetRenderer.h"

namespace Velta {

/// A texture to draw into. No back end implements one yet.
class VELTA_EXPORT RenderTexture : public TargetRenderer {
public:
    RenderTexture(int id, int width, int height);
    ~RenderTexture() override;
};

} // namespace Velta
