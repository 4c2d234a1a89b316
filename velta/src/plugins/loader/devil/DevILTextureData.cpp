#include "plugins/loader/devil/DevILTextureData.h"

#include "plugins/loader/devil/DevILLibrary.h"

#include <IL/il.h>

namespace Velta {

DevILTextureData::DevILTextureData(unsigned int image, const TextureInfo& info, const void* data)
    : mImage(image), mInfo(info), mData(static_cast<const unsigned char*>(data)), mRun(DevILLibrary::getRun())
{
}

DevILTextureData::~DevILTextureData()
{
    if (isAlive()) {
        const ILuint image = mImage;
        ilDeleteImages(1, &image);
    }
}

bool DevILTextureData::isAlive() const
{
    return mRun != 0 && mRun == DevILLibrary::getRun();
}

const void* DevILTextureData::getTextureData() const
{
    return isAlive() ? mData : nullptr;
}

const void* DevILTextureData::getPixel(unsigned int x, unsigned int y, unsigned int z) const
{
    unsigned long long offset = 0;
    if (!isAlive() || !mInfo.getPixelOffset(x, y, z, offset)) {
        return nullptr;
    }
    return mData + offset;
}

} // namespace Velta
