#pragma once

#include "VeltaExport.h"
#include "resource/Texture.h"

namespace Velta {

/// A texture with one axis and one image. The engine builds none; a back end
/// that needs one completes the change test and the source.
class VELTA_EXPORT Texture1D : public Texture {
public:
    ~Texture1D() override;

    TextureType getTextureType() const override { return TEXTURE_1D; }

protected:
    Texture1D();
};

} // namespace Velta
