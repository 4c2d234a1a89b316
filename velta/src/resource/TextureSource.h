#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "resource/TextureInfo.h"

namespace Velta {

/// A read-only block of pixels laid out as its TextureInfo says: what image
/// loaders produce, what textures upload and what the terrain samples.
/// Shared through SharedPtr.
class VELTA_EXPORT TextureSource {
public:
    virtual ~TextureSource();

    virtual const TextureInfo& getTextureInfo() const = 0;

    /// Whether the pixels changed at or after `timestamp` (timer manager
    /// milliseconds).
    virtual bool hasChanged(long long timestamp) const = 0;

    /// The first byte of the block; null when there are no pixels to read.
    virtual const void* getTextureData() const = 0;

    /// Address of pixel (x, y, z); null outside the image.
    virtual const void* getPixel(unsigned int x, unsigned int y, unsigned int z) const = 0;

    /// Copies a box of pixels to `destination`; false when not supported.
    virtual bool copyData(unsigned int x, unsigned int y, unsigned int z, unsigned int width, unsigned int height,
                          unsigned int depth, void* destination) const = 0;

    /// Pixel (x, y, z) as a colour (TextureInfo::getPixelColor); opaque
    /// black outside the image.
    Color getPixelColor(unsigned int x, unsigned int y, unsigned int z) const;
};

} // namespace Velta
