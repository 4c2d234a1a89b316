#pragma once

#include "VeltaExport.h"
#include "resource/TextureInfo.h"
#include "resource/TextureSource.h"

namespace Velta {

/// An image decoded by DevIL and read in place: the pixels stay in DevIL's
/// memory until the last holder lets go. Made by DevILTextureSourceLoader,
/// in a layout a renderer can upload; never changes.
///
/// DevIL's images live no longer than the library: once it has shut down
/// (the core shut down and freed the loader) the image has no pixels any
/// more, and getTextureData() and getPixel() answer null.
class VELTA_EXPORT DevILTextureData : public TextureSource {
public:
    /// Takes over DevIL image `image`, which has the layout `info` and the
    /// pixel block `data`, in the library's current run.
    DevILTextureData(unsigned int image, const TextureInfo& info, const void* data);
    ~DevILTextureData() override;

    DevILTextureData(const DevILTextureData&) = delete;
    DevILTextureData& operator=(const DevILTextureData&) = delete;

    const TextureInfo& getTextureInfo() const override { return mInfo; }
    bool hasChanged(long long) const override { return false; }
    const void* getTextureData() const override;
    const void* getPixel(unsigned int x, unsigned int y, unsigned int z) const override;
    bool copyData(unsigned int, unsigned int, unsigned int, unsigned int, unsigned int, unsigned int,
                  void*) const override
    {
        return false;
    }

private:
    bool isAlive() const;

    unsigned int mImage;
    TextureInfo mInfo;
    const unsigned char* mData;
    unsigned long long mRun;
};

} // namespace Velta
