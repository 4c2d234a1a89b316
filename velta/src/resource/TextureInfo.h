#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "geometry/DataType.h"

namespace Velta {

/// Layout of a block of pixels: width × height × depth pixels of `channels`
/// components of `dataType`, in the order `colorFormat` names. Rows of width
/// pixels follow each other, then slices.
class VELTA_EXPORT TextureInfo {
public:
    TextureInfo() = default;
    /// A `width` × `height` × `depth` image; the format sets the channels.
    TextureInfo(unsigned int width, unsigned int height, unsigned int depth, Color::Format format,
                DataType::Type dataType);
    TextureInfo(const TextureInfo&) = default;
    TextureInfo& operator=(const TextureInfo&) = default;
    virtual ~TextureInfo();

    void setWidth(unsigned int width) { mWidth = width; }
    void setHeight(unsigned int height) { mHeight = height; }
    void setDepth(unsigned int depth) { mDepth = depth; }
    void setDataType(DataType::Type type) { mDataType = type; }

    /// Stores the format; a known format also sets the channels (single
    /// channel and luminance 1, RGB and BGR 3, RGBA and BGRA 4).
    void setColorFormat(Color::Format format);

    /// A different count resets the format to UNKNOWN; the same count
    /// changes nothing.
    void setChannels(unsigned int channels);

    unsigned int getWidth() const { return mWidth; }
    unsigned int getHeight() const { return mHeight; }
    unsigned int getDepth() const { return mDepth; }
    unsigned int getChannels() const { return mChannels; }
    DataType::Type getDataType() const { return mDataType; }
    Color::Format getColorFormat() const { return mColorFormat; }

    /// Bytes of one pixel: component size × channels.
    unsigned int getPixelSize() const;

    /// Bytes of the whole block: pixel size × width × height × depth.
    unsigned long long getMemSize() const;

    /// Bytes of the block with its mip-maps, levels 0 to `highestLevel`:
    /// each level halves width and height (down to 1) and keeps the depth;
    /// the chain ends with the 1 × 1 level.
    unsigned long long getMipMapMemSize(unsigned int highestLevel) const;

    /// Byte offset of pixel (x, y, z) in the block; false outside the image.
    bool getPixelOffset(unsigned int x, unsigned int y, unsigned int z, unsigned long long& offset) const;

    /// One pixel as RGBA floats. Unsigned integer components are scaled to
    /// 0 … 1, float and double ones taken as they are. Three or four channels
    /// give the colour (BGR and BGRA are put in RGB order; without a fourth
    /// channel alpha is 1); two give grey and alpha; one gives grey with
    /// alpha 1 for luminance, and white with the value as alpha otherwise.
    /// A null pixel, no channels and the other data types give opaque black.
    Color getPixelColor(const void* pixel) const;

    bool operator==(const TextureInfo& other) const;
    bool operator!=(const TextureInfo& other) const { return !(*this == other); }

private:
    unsigned int mWidth = 0;
    unsigned int mHeight = 0;
    unsigned int mDepth = 0;
    unsigned int mChannels = 0;
    DataType::Type mDataType = DataType::NONE;
    Color::Format mColorFormat = Color::UNKNOWN;
};

} // namespace Velta
