#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/Texture.h"

namespace Velta {

/// A texture with two axes (s, t) and one image, supplied by a shared
/// TextureSource (none by default).
class VELTA_EXPORT Texture2D : public Texture {
public:
    Texture2D();
    explicit Texture2D(const CppLib::SharedPtr<TextureSource>& source);
    ~Texture2D() override;

    /// Replaces the image and stamps the change with the timer manager's
    /// current timestamp, so that a renderer uploads the new image.
    void setTextureSource(const CppLib::SharedPtr<TextureSource>& source);

    TextureType getTextureType() const override { return TEXTURE_2D; }

    /// True when the image was replaced at or after `time`, or when the
    /// image itself reports a change since then (an editable image such as a
    /// texture proxy). An image given to the constructor counts as set at
    /// time 0.
    bool hasChanged(long long time) const override;

    /// The one image, whatever the arguments.
    const CppLib::SharedPtr<TextureSource> getTextureSource(unsigned int axis, unsigned int image) const override;

private:
    CppLib::SharedPtr<TextureSource> mSource;
    long long mChangeTime = 0;
};

} // namespace Velta
