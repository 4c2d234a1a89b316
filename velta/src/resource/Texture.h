#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "resource/ResourceContainer.h"

#include <vector>

namespace Velta {

class TextureSource;

/// A renderable texture: sampling state (filters, wrap modes, mip-maps,
/// environment mode, border and constant colour) over one or more images.
/// A renderer attaches its texture object as a ResourceData and uploads the
/// pixels again when hasChanged() reports a change since its last upload.
///
/// Made while the core runs (the id comes from the texture manager);
/// shared through SharedPtr and destroyed with its last holder.
class VELTA_EXPORT Texture : public ResourceContainer {
public:
    enum TexFilter : int {
        NEAREST = 0,
        LINEAR = 1,
        /// Minification only: sample mip-maps as the two mip-map filters say.
        MIPMAP = 2,
        /// Minification only; stored as LINEAR.
        BILINEAR = 3,
        /// Minification only; stored as MIPMAP with both mip-map filters LINEAR.
        TRILINEAR = 4
    };

    /// Unknown values behave as REPEAT.
    enum TexWrap : int { CLAMP = 0, REPEAT = 1, CLAMP_TO_EDGE = 2, CLAMP_TO_BORDER = 3, MIRRORED_REPEAT = 4 };

    /// How this unit's texture combines with the result of the units before
    /// it. Value 5 has no name: the unit keeps its previous environment, as
    /// do values above MODULATE_CONSTANT.
    enum TexMode : int {
        MODULATE = 0,
        REPLACE = 1,
        BLEND = 2,
        ADD = 3,
        DECAL = 4,
        /// Colour and alpha of the previous unit: the unit only carries
        /// coordinates or an image another unit reads.
        PASS_PREVIOUS = 6,
        /// Colour: texture × previous; alpha: previous.
        MODULATE_PREVIOUS = 7,
        /// Colour: the texture of another unit blended over the previous
        /// colour by this texture's colour.
        BLEND_UNIT_BY_TEXTURE = 8,
        /// Colour: texture blended over previous by the vertex alpha; alpha: texture.
        BLEND_BY_VERTEX_ALPHA = 9,
        /// Colour: texture blended over previous by the alpha of the texture
        /// two units further on; alpha: texture.
        BLEND_BY_UNIT_ALPHA = 10,
        /// Colour and alpha: texture blended over previous by texture alpha.
        BLEND_BY_TEXTURE_ALPHA = 11,
        /// Colour and alpha: texture × constant colour.
        MODULATE_CONSTANT = 12
    };

    enum TextureType : int { TEXTURE_1D = 0, TEXTURE_2D = 1, TEXTURE_3D = 2, TEXTURE_CUBE_MAP = 3 };

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    ~Texture() override;

    virtual void setTexMode(TexMode mode) { mTexMode = mode; }
    virtual void setBorderColor(const Color& color) { mBorderColor = color; }

    /// NEAREST or LINEAR; anything else is stored as LINEAR.
    virtual void setMagFilter(TexFilter filter);
    /// BILINEAR is stored as LINEAR; TRILINEAR as MIPMAP with both mip-map
    /// filters LINEAR; other values as given.
    virtual void setMinFilter(TexFilter filter);
    /// Between levels (`choose`) and within a level (`filter`): NEAREST for
    /// NEAREST, LINEAR for anything else.
    virtual void setMipMapFilter(TexFilter choose, TexFilter filter);
    /// setMinFilter(filter), then setMagFilter(filter).
    virtual void setAllFilters(TexFilter filter);

    /// Wrap mode of one axis (0 s, 1 t, 2 r) of one image; ignored outside
    /// getChannels() × getTexCount().
    virtual void setWrapMode(TexWrap mode, unsigned int axis, unsigned int image);
    virtual void setAllWrapModes(TexWrap mode);
    virtual void setGenerateMipMaps(bool generate) { mGenerateMipMaps = generate; }
    /// Stored as given; min may exceed max.
    virtual void setMipMapLevels(unsigned int min, unsigned int max);
    virtual void setConstantColor(const Color& color) { mConstantColor = color; }

    /// Engine-wide id, from 1; never reused within a run.
    virtual unsigned int getTextureId() const { return mTextureId; }
    virtual unsigned int getTexCount() const { return mTexCount; }
    /// Number of axes that carry a wrap mode.
    virtual unsigned int getChannels() const { return mChannels; }
    virtual TextureType getTextureType() const = 0;

    /// Whether the texture or its images changed at or after `time` (timer
    /// manager milliseconds).
    virtual bool hasChanged(long long time) const = 0;

    virtual TexMode getTexMode() const { return mTexMode; }
    virtual const Color& getBorderColor() const { return mBorderColor; }
    virtual Color getConstantColor() const { return mConstantColor; }
    /// REPEAT outside getChannels() × getTexCount().
    virtual TexWrap getWrapMode(unsigned int axis, unsigned int image) const;
    virtual TexFilter getMagFilter() const { return mMagFilter; }
    virtual TexFilter getMinFilter() const { return mMinFilter; }
    virtual TexFilter getMipMapChooseFilter() const { return mMipMapChooseFilter; }
    virtual TexFilter getMipMapFilter() const { return mMipMapFilter; }
    virtual bool doGenerateMipMaps() const { return mGenerateMipMaps; }
    virtual unsigned int getMinMipMapLevel() const { return mMinMipMapLevel; }
    virtual unsigned int getMaxMipMapLevel() const { return mMaxMipMapLevel; }

    /// The image that supplies the pixels; empty when there is none.
    virtual const CppLib::SharedPtr<TextureSource> getTextureSource(unsigned int axis, unsigned int image) const = 0;

    /// Bytes the images take once uploaded: each image's block, with its
    /// mip-map chain up to the highest mip-map level when mip-maps are
    /// generated. Images without a source count 0.
    virtual unsigned long long getMemSize() const;

protected:
    /// `channels` wrap axes for each of `texCount` images, all REPEAT.
    Texture(unsigned int channels, unsigned int texCount);

private:
    unsigned int mTextureId;
    unsigned int mChannels;
    unsigned int mTexCount;
    TexMode mTexMode = MODULATE;
    Color mBorderColor{0.0f, 0.0f, 0.0f, 1.0f};
    Color mConstantColor{0.0f, 0.0f, 0.0f, 1.0f};
    TexFilter mMagFilter = LINEAR;
    TexFilter mMinFilter = LINEAR;
    TexFilter mMipMapChooseFilter = LINEAR;
    TexFilter mMipMapFilter = LINEAR;
    bool mGenerateMipMaps = false;
    unsigned int mMinMipMapLevel = 0;
    unsigned int mMaxMipMapLevel = 5;
    /// Index channels × image + axis.
    std::vector<TexWrap> mWrapModes;
};

} // namespace Velta
