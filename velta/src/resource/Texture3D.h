#pragma once

#include "VeltaExport.h"
#include "resource/Texture.h"

namespace Velta {

/// A texture with three axes (s, t, r) and one image. The engine builds
/// none; a back end that needs one completes the change test and the source.
class VELTA_EXPORT Texture3D : public Texture {
public:
    ~Texture3D() override;

    TextureType getTextureType() const override { return TEXTURE_3D; }

protected:
    Texture3D();
};

} // namespace Velta
