#include "resource/TextureData.h"

namespace Velta {

TextureData::TextureData(const TextureInfo& info, const CppLib::CowMemPtr<void>& data) : mInfo(info), mData(data) {}

TextureData::~TextureData() = default;

const void* TextureData::getTextureData() const
{
    return mInfo.getMemSize() <= mData.getByteSize() ? mData.get() : nullptr;
}

const void* TextureData::getPixel(unsigned int x, unsigned int y, unsigned int z) const
{
    unsigned long long offset = 0;
    const char* data = static_cast<const char*>(mData.get());
    if (!data || !mInfo.getPixelOffset(x, y, z, offset) || offset >= mData.getByteSize()
        || mData.getByteSize() - offset < mInfo.getPixelSize()) {
        return nullptr;
    }
    return data + offset;
}

} // namespace Velta
