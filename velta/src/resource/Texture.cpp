#include "resource/Texture.h"

#include "core/VeltaCore.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"

namespace Velta {

Texture::Texture(unsigned int channels, unsigned int texCount)
    : mTextureId(VeltaCore::getSingleton().getResourceManager().getTextureManager().createTextureId()),
      mChannels(channels),
      mTexCount(texCount),
      mWrapModes(static_cast<std::size_t>(channels) * texCount, REPEAT)
{
}

Texture::~Texture()
{
    // A texture held by the host may outlive the managers, and one held by a
    // resource (a model's material) dies while they are destroyed; its id
    // then has nowhere to go (and ids are never reused anyway).
    if (ResourceManager* resources = VeltaCore::findResourceManager()) {
        resources->getTextureManager().returnTextureId(mTextureId);
    }
}

void Texture::setMagFilter(TexFilter filter)
{
    mMagFilter = filter == NEAREST ? NEAREST : LINEAR;
}

void Texture::setMinFilter(TexFilter filter)
{
    if (filter == TRILINEAR) {
        mMinFilter = MIPMAP;
        mMipMapChooseFilter = LINEAR;
        mMipMapFilter = LINEAR;
    } else if (filter == BILINEAR) {
        mMinFilter = LINEAR;
    } else {
        mMinFilter = filter;
    }
}

void Texture::setMipMapFilter(TexFilter choose, TexFilter filter)
{
    mMipMapChooseFilter = choose != NEAREST ? LINEAR : NEAREST;
    mMipMapFilter = filter != NEAREST ? LINEAR : NEAREST;
}

void Texture::setAllFilters(TexFilter filter)
{
    setMinFilter(filter);
    setMagFilter(filter);
}

void Texture::setWrapMode(TexWrap mode, unsigned int axis, unsigned int image)
{
    if (axis < mChannels && image < mTexCount) {
        mWrapModes[static_cast<std::size_t>(mChannels) * image + axis] = mode;
    }
}

void Texture::setAllWrapModes(TexWrap mode)
{
    for (TexWrap& wrap : mWrapModes) {
        wrap = mode;
    }
}

void Texture::setMipMapLevels(unsigned int min, unsigned int max)
{
    mMinMipMapLevel = min;
    mMaxMipMapLevel = max;
}

Texture::TexWrap Texture::getWrapMode(unsigned int axis, unsigned int image) const
{
    if (axis < mChannels && image < mTexCount) {
        return mWrapModes[static_cast<std::size_t>(mChannels) * image + axis];
    }
    return REPEAT;
}

unsigned long long Texture::getMemSize() const
{
    unsigned long long total = 0;
    for (unsigned int image = 0; image < mTexCount; ++image) {
        const CppLib::SharedPtr<TextureSource> source = getTextureSource(0, image);
        if (source.isNull()) {
            continue;
        }
        const TextureInfo& info = source->getTextureInfo();
        total += mGenerateMipMaps ? info.getMipMapMemSize(mMaxMipMapLevel) : info.getMemSize();
    }
    return total;
}

} // namespace Velta
